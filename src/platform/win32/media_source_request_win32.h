// One address being opened as a media source in the background. Media
// Foundation completes the request on one of its worker threads; the source
// then waits here until the user-interface thread, told by a posted
// message, takes it. A request abandoned first shuts its source down itself.
//
// The player opens sources itself rather than letting MFPlay open the
// address, because only the owner of a source may shut it down: a source
// MFPlay opened is never shut down under Wine, and its reading thread then
// crashes the process when it exits.
#pragma once

#include <mfidl.h>
#include <windows.h>

#include <mutex>
#include <string>

namespace vexlo::platform::win32 {

class MediaSourceRequest final : public IMFAsyncCallback {
 public:
  // Starts opening `url`; `message` is posted to `replyTo` once the outcome
  // is known. Null when the request could not even be started.
  static MediaSourceRequest* start(IMFSourceResolver* resolver, const std::u16string& url, HWND replyTo, UINT message);

  bool finished();
  // The opened source, now the caller's to shut down and release; null when
  // the address could not be opened.
  IMFMediaSource* takeSource();
  // The answer is no longer wanted.
  void abandon();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetParameters(DWORD* flags, DWORD* queue) override;
  HRESULT STDMETHODCALLTYPE Invoke(IMFAsyncResult* result) override;

 private:
  MediaSourceRequest(IMFSourceResolver* resolver, HWND replyTo, UINT message);
  ~MediaSourceRequest();

  LONG references_ = 1;
  IMFSourceResolver* resolver_;
  HWND replyTo_;
  UINT message_;
  std::mutex mutex_;
  bool finished_ = false;
  bool abandoned_ = false;
  IMFMediaSource* source_ = nullptr;
};

}  // namespace vexlo::platform::win32
