#include "filemanager/file_manager_panel.h"

#include <initializer_list>

#include "filemanager/file_listing.h"
#include "filemanager/path_labels.h"
#include "platform/twips.h"

namespace vexlo::filemanager {

namespace {

constexpr std::u16string_view kCannotOpen = u"无法打开:";

bool isDriveLetterPath(std::u16string_view path) {
  return path.size() >= 3 && path[1] == u':' && path[2] == u'\\' &&
         ((path[0] >= u'A' && path[0] <= u'Z') || (path[0] >= u'a' && path[0] <= u'z'));
}

// What the drive list shows of a drive: its letter, a colon and its label.
std::u16string driveCaption(const platform::Drive& drive) {
  std::u16string caption = drive.root.substr(0, 2);
  if (!drive.volumeLabel.empty()) caption += u" [" + drive.volumeLabel + u"]";
  return caption;
}

// Explorer's argument: quoted, as a path may hold blanks; a directory other
// than a root without its final "\", which would escape the closing quote.
std::u16string explorerCommand(std::u16string_view directoryLabel) {
  std::u16string path(directoryLabel);
  if (path.size() > 3 && path.back() == u'\\') path.pop_back();
  return u"Explorer.exe \"" + path + u"\"";
}

}  // namespace

FileManagerPanel::FileManagerPanel(controls::Frame& panel, Links links, std::u16string startDirectory)
    : kindLabel("LJ", {120, 360, 540, 180}, u"文 件:"),
      pathLabel("Fi", {120, 600, 3975, 255}),
      driveList("Drive1", {120, 1020, 855, 300}),
      filterList("Combo2", {1080, 1020, 1335, 300}),
      directoryList("Dir1", {120, 1470, 2295, 1980}),
      fileList("File1", {kNormalListLeft, 1020, kNormalListWidth, 2430}),
      previewPicture("Image1", {1800, 1020, 3015, 2430}),
      toolButton("GG", {4020, 1080, 480, 285}, u"工具"),
      openButton("OPP", {4155, 270, 660, 585}, u"", controls::Kind::PictureButton),
      previousButton("SSS", {4110, 3120, 285, 255}, u"5"),
      nextButton("XXX", {4455, 3120, 285, 255}, u"6"),
      operationsStrip("Frame4", {1965, 270, 2130, 300}),
      newDirectoryButton("XJ", {0, 0, 330, 300}, u"", controls::Kind::PictureButton),
      cutButton("JJ", {360, 0, 330, 300}, u"", controls::Kind::PictureButton),
      copyButton("FZ", {720, 0, 330, 300}, u"", controls::Kind::PictureButton),
      pasteButton("NT", {1080, 0, 330, 300}, u"", controls::Kind::PictureButton),
      renameButton("CMM", {1440, 0, 330, 300}, u"", controls::Kind::PictureButton),
      deleteButton("Ki", {1800, 0, 330, 300}, u"", controls::Kind::PictureButton),
      links_(std::move(links)),
      startDirectory_(std::move(startDirectory)),
      pattern_(kFilters[kAllFilesFilter].pattern) {
  build(panel);
  buildOperations();
}

void FileManagerPanel::build(controls::Frame& panel) {
  pathLabel.setPathEllipsis(true);
  driveList.onClick = [this] { driveChosen(); };
  for (const Filter& filter : kFilters) filterList.addItem(std::u16string(filter.caption));
  filterList.onClick = [this] { filterChosen(); };
  directoryList.onClick = [this] { directoryClicked(); };
  directoryList.onKeyDown = [this](int key) { directoryKey(key); };
  fileList.onClick = [this] { fileClicked(); };
  fileList.onDoubleClick = [this] { openSelection(); };
  fileList.onKeyDown = [this](int key) { fileKey(key); };
  previewPicture.setVisible(false);
  toolButton.setVisible(false);
  toolButton.onClick = [this] { toolClicked(); };
  openButton.setTooltip(u"打开");
  openButton.setPicture("open");
  openButton.onClick = [this] { openSelection(); };
  previousButton.setFontFace(u"Marlett");
  previousButton.setTooltip(u"上一幅");
  previousButton.onClick = [this] { step(-1); };
  nextButton.setFontFace(u"Marlett");
  nextButton.setTooltip(u"下一幅");
  nextButton.onClick = [this] { step(1); };
  // Later controls lie above earlier ones: the buttons over the file list
  // and the preview, as the design places them.
  for (controls::Control* c : std::initializer_list<controls::Control*>{
           &kindLabel, &pathLabel, &driveList, &filterList, &directoryList, &fileList, &previewPicture,
           &operationsStrip, &openButton, &toolButton, &previousButton, &nextButton})
    panel.add(*c);
}

const std::u16string& FileManagerPanel::currentDirectory() const {
  return loaded_ ? directoryList.path() : startDirectory_;
}

bool FileManagerPanel::restoreDirectory(std::u16string directory) {
  // The list holds a directory without its final "\" unless it is a root.
  while (directory.size() > 3 && (directory.back() == u'\\' || directory.back() == u'/')) directory.pop_back();
  if (!isDriveLetterPath(directory) || !links_.services.fileSystem.directoryExists(directory)) return false;
  if (loaded_) return enterDirectory(directory);
  startDirectory_ = std::move(directory);
  return true;
}

void FileManagerPanel::showing() {
  refreshDrives();
  if (loaded_) return;
  loaded_ = true;
  // The deepest existing directory of the start's chain, or else the
  // first drive that can be read.
  const std::vector<std::u16string> chain = directoryChain(startDirectory_);
  for (auto it = chain.rbegin(); it != chain.rend(); ++it)
    if (links_.services.fileSystem.directoryExists(*it) && enterDirectory(*it)) return;
  for (const std::u16string& drive : driveList.items())
    if (enterDirectory(driveRootOf(drive))) return;
}

void FileManagerPanel::refreshDrives() {
  std::vector<std::u16string> captions;
  for (const platform::Drive& drive : links_.services.fileSystem.drives()) captions.push_back(driveCaption(drive));
  if (captions != driveList.items()) driveList.setItems(std::move(captions));
  showCurrentDrive();
}

void FileManagerPanel::showCurrentDrive() {
  const std::u16string root = driveRootOf(currentDirectory());
  int index = -1;
  for (int i = 0; i < driveList.count(); ++i)
    if (driveRootOf(driveList.items()[static_cast<std::size_t>(i)]) == root) index = i;
  showingDrive_ = true;
  driveList.setSelectedIndex(index);
  showingDrive_ = false;
}

void FileManagerPanel::driveChosen() {
  if (showingDrive_ || driveList.selectedIndex() < 0) return;
  // A drive that cannot be read (an empty card reader or optical drive)
  // has told the user why; the list goes back to the drive in use.
  if (!enterDirectory(driveRootOf(driveList.selectedText()))) {
    showCurrentDrive();
    return;
  }
  if (links_.shell.windowVisible()) directoryList.focus();
}

std::optional<std::vector<platform::DirectoryEntry>> FileManagerPanel::read(const std::u16string& directory) {
  platform::Listing listing = links_.services.fileSystem.list(directory);
  if (listing.ok) return std::move(listing.entries);
  links_.status.report(kCannotOpen, u" " + listing.message + u" < " + directory + u" > ");
  return std::nullopt;
}

bool FileManagerPanel::enterDirectory(const std::u16string& directory) {
  const auto entries = read(directory);
  if (!entries) return false;
  directoryList.show(directory, subdirectoriesOf(*entries));
  directoryChanged(*entries);
  return true;
}

void FileManagerPanel::directoryChanged(const std::vector<platform::DirectoryEntry>& entries) {
  kindWord_ = kDirectoryWord;
  newDirectoryButton.setVisible(true);
  if (pending_.operation > 0) pasteButton.setVisible(true);
  showDirectorySelection();
  showRowButtons(!isRootPath(directoryList.path()));
  // The file list follows the directory.
  fileList.setItems(filesMatching(entries, pattern_));
  toolButton.setVisible(false);
  showCurrentDrive();
}

void FileManagerPanel::showDirectorySelection() {
  const std::u16string& directory = directoryList.path();
  kindLabel.setCaption(std::u16string(kindRow(isRootPath(directory) ? Kind::Drive : Kind::Directory).label));
  pathLabel.setCaption(directoryLabel(directory));
}

void FileManagerPanel::showRowButtons(bool shown) {
  for (controls::Control* c : {&deleteButton, &copyButton, &cutButton, &renameButton}) c->setVisible(shown);
}

void FileManagerPanel::directoryClicked() {
  const std::u16string target = directoryList.entryPath(directoryList.selectedEntry());
  if (target.empty() || target == directoryList.path()) return;
  if (!enterDirectory(target)) directoryList.selectCurrent();
}

void FileManagerPanel::directoryKey(int virtualKey) {
  if (virtualKey == kVirtualKeyReturn) directoryClicked();
  if (virtualKey == kVirtualKeyBack) enterParent();
}

void FileManagerPanel::enterParent() {
  const std::u16string parent = directoryList.entryPath(-2);
  if (!parent.empty()) enterDirectory(parent);
}

void FileManagerPanel::fileClicked() {
  if (fileList.selectedIndex() < 0) return;
  kindWord_ = kFileWord;
  showRowButtons(true);
  pasteButton.setVisible(false);
  newDirectoryButton.setVisible(false);

  const std::u16string name = fileList.selectedText();
  const Kind kind = kindOfFile(name);
  const KindRow& row = kindRow(kind);
  kindLabel.setCaption(std::u16string(row.label));
  // In preview mode the tool button keeps "返回": it is the only way back.
  if (!row.toolCaption.empty() && !inPreview()) {
    toolButton.setCaption(std::u16string(row.toolCaption));
    toolButton.setTooltip(std::u16string(row.toolTooltip));
  }
  const std::u16string label = joinPath(directoryList.path(), name);
  pathLabel.setCaption(kind == Kind::Shortcut ? shortcutLabel(label) : label);

  if (inPreview())
    loadPreview();
  else
    toolButton.setVisible(kind == Kind::Program || kind == Kind::Media || kind == Kind::Picture);
}

void FileManagerPanel::fileKey(int virtualKey) {
  if (virtualKey == kVirtualKeyReturn && fileList.selectedIndex() >= 0) openSelection();
  // Backspace goes up only where the directory column shows.
  if (virtualKey == kVirtualKeyBack && !inPreview()) enterParent();
}

void FileManagerPanel::chooseFilter(int index) {
  if (filterList.selectedIndex() == index)
    filterChosen();
  else
    filterList.setSelectedIndex(index);
}

void FileManagerPanel::filterChosen() {
  const int index = filterList.selectedIndex();
  if (index >= 0) setFilePattern(kFilters[static_cast<std::size_t>(index)].pattern);
}

void FileManagerPanel::setFilePattern(std::u16string_view pattern) {
  if (pattern == pattern_) return;
  pattern_ = pattern;
  if (loaded_) refreshFiles();
}

void FileManagerPanel::refreshFiles() {
  if (const auto entries = read(directoryList.path())) fileList.setItems(filesMatching(*entries, pattern_));
}

void FileManagerPanel::refreshLists() {
  const auto entries = read(directoryList.path());
  if (!entries) return;
  directoryList.show(directoryList.path(), subdirectoriesOf(*entries));
  fileList.setItems(filesMatching(*entries, pattern_));
}

void FileManagerPanel::selectFileByName(const std::u16string& name) {
  const std::vector<std::u16string>& names = fileList.items();
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i] == name) {
      fileList.setSelectedIndex(static_cast<int>(i));
      return;
    }
  }
}

void FileManagerPanel::openSelection() {
  const Kind kind = kindOfLabel(kindLabel.caption());
  const std::u16string path = realPath(pathLabel.caption());
  if (path.empty()) return;
  if (kind == Kind::Media) {
    links_.shell.playMedia(path);
    return;
  }
  bool started = false;
  if (kind == Kind::Drive || kind == Kind::Directory)
    started = links_.launcher.run(explorerCommand(path), platform::kShowMaximized);
  else if (kind == Kind::Text)
    started = links_.launcher.run(u"Notepad.exe \"" + path + u"\"", platform::kShowNormal);
  else
    // A normal window: a program opened here must not start hidden.
    started = links_.launcher.shellExecute(u"Open", path, platform::kShowNormal);
  if (!started) links_.status.report(kCannotOpen, u" " + path + u" ");
  links_.shell.collapseWindow();
}

void FileManagerPanel::toolClicked() {
  if (toolButton.caption() == kReturnCaption) {
    toolButton.setCaption(std::u16string(kPreviewCaption));
    toolButton.setTooltip(std::u16string(kPreviewTooltip));
    operationsStrip.setVisible(true);
    leavePreview();
    return;
  }
  const std::u16string name = fileList.selectedText();
  const std::u16string path = realPath(pathLabel.caption());
  if (name.empty()) return;
  switch (kindOfLabel(kindLabel.caption())) {
    case Kind::Picture:
      enterPreview();
      break;
    case Kind::Media:
      links_.shell.addMediaFavourite(nameWithoutExtension(name), path);
      break;
    case Kind::Program:
      links_.shell.addProgramFavourite(nameWithoutExtension(name), path);
      break;
    default:
      break;
  }
}

void FileManagerPanel::enterPreview() {
  const std::u16string name = fileList.selectedText();
  setFilePattern(kFilters[kPictureFilter].pattern);
  selectFileByName(name);
  toolButton.setCaption(std::u16string(kReturnCaption));
  toolButton.setTooltip(std::u16string(kReturnTooltip));
  for (controls::Control* c :
       std::initializer_list<controls::Control*>{&operationsStrip, &driveList, &filterList, &directoryList})
    c->setVisible(false);
  fileList.setRect({kPreviewListLeft, fileList.rect().top, kPreviewListWidth, fileList.rect().height});
  previewPicture.setVisible(true);
  loadPreview();
}

void FileManagerPanel::leavePreview() {
  previewPicture.setVisible(false);
  previewPicture.setBitmap({});  // the memory goes with the picture
  fileList.setRect({kNormalListLeft, fileList.rect().top, kNormalListWidth, fileList.rect().height});
  for (controls::Control* c : std::initializer_list<controls::Control*>{&driveList, &filterList, &directoryList})
    c->setVisible(true);
  // Back in normal mode first: the file chosen again is not decoded for a
  // hidden preview.
  if (filterList.selectedIndex() == kAllFilesFilter) {
    const std::u16string name = fileList.selectedText();
    setFilePattern(kFilters[kAllFilesFilter].pattern);
    selectFileByName(name);
  }
  // The tool button follows the kind of the file still chosen, which the
  // preview may have shown without a picture's kind.
  if (fileList.selectedIndex() >= 0) fileClicked();
}

void FileManagerPanel::step(int by) {
  const int count = fileList.count();
  if (count == 0) return;
  int index = fileList.selectedIndex() + by;
  if (index < 0) index = count - 1;
  if (index == count) index = 0;
  fileList.setSelectedIndex(index);
}

void FileManagerPanel::loadPreview() {
  const platform::ScreenMetrics screen = links_.screen.metrics();
  const controls::TwipsRect& box = previewPicture.rect();
  std::optional<common::Bitmap> picture = links_.services.pictures.decode(
      realPath(pathLabel.caption()), platform::twipsToPixels(box.width, screen.twipsPerPixelX),
      platform::twipsToPixels(box.height, screen.twipsPerPixelY));
  previewPicture.setBitmap(picture ? std::move(*picture) : common::Bitmap{});
  if (!picture) links_.status.report(u"无法预览:", u" 图片 < " + fileList.selectedText() + u" > ");
}

}  // namespace vexlo::filemanager
