#include "platform/win32/media_source_request_win32.h"

#include "platform/win32/wide.h"

namespace vexlo::platform::win32 {

namespace {

void shutDown(IMFMediaSource* source) {
  if (!source) return;
  source->Shutdown();
  source->Release();
}

}  // namespace

MediaSourceRequest* MediaSourceRequest::start(IMFSourceResolver* resolver, const std::u16string& url, HWND replyTo,
                                              UINT message) {
  auto* request = new MediaSourceRequest(resolver, replyTo, message);
  // The same resolution MFPlay itself asks for: a file's content counts,
  // not its extension.
  const DWORD flags = MF_RESOLUTION_MEDIASOURCE | MF_RESOLUTION_CONTENT_DOES_NOT_HAVE_TO_MATCH_EXTENSION_OR_MIME_TYPE;
  if (FAILED(resolver->BeginCreateObjectFromURL(wide(url), flags, nullptr, nullptr, request, nullptr))) {
    request->Release();
    return nullptr;
  }
  return request;
}

MediaSourceRequest::MediaSourceRequest(IMFSourceResolver* resolver, HWND replyTo, UINT message)
    : resolver_(resolver), replyTo_(replyTo), message_(message) {
  resolver_->AddRef();
}

MediaSourceRequest::~MediaSourceRequest() {
  shutDown(source_);
  resolver_->Release();
}

bool MediaSourceRequest::finished() {
  std::lock_guard<std::mutex> lock(mutex_);
  return finished_;
}

IMFMediaSource* MediaSourceRequest::takeSource() {
  std::lock_guard<std::mutex> lock(mutex_);
  IMFMediaSource* source = source_;
  source_ = nullptr;
  return source;
}

void MediaSourceRequest::abandon() {
  std::lock_guard<std::mutex> lock(mutex_);
  abandoned_ = true;
  shutDown(source_);
  source_ = nullptr;
}

HRESULT STDMETHODCALLTYPE MediaSourceRequest::Invoke(IMFAsyncResult* result) {
  MF_OBJECT_TYPE type = MF_OBJECT_INVALID;
  IUnknown* object = nullptr;
  IMFMediaSource* source = nullptr;
  if (SUCCEEDED(resolver_->EndCreateObjectFromURL(result, &type, &object))) {
    object->QueryInterface(__uuidof(IMFMediaSource), reinterpret_cast<void**>(&source));
    object->Release();
  }
  std::lock_guard<std::mutex> lock(mutex_);
  if (abandoned_) {
    shutDown(source);
    return S_OK;
  }
  source_ = source;
  finished_ = true;
  PostMessageW(replyTo_, message_, 0, 0);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE MediaSourceRequest::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == __uuidof(IUnknown) || iid == __uuidof(IMFAsyncCallback)) {
    *object = static_cast<IMFAsyncCallback*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE MediaSourceRequest::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG STDMETHODCALLTYPE MediaSourceRequest::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

// Any worker thread will do: all it does is hand the result over.
HRESULT STDMETHODCALLTYPE MediaSourceRequest::GetParameters(DWORD*, DWORD*) { return E_NOTIMPL; }

}  // namespace vexlo::platform::win32
