#include "favourites/favourites_editor.h"

namespace vexlo::favourites {

namespace {

constexpr std::array<std::u16string_view, 3> kModeWords = {u"添加", u"删除", u"修改"};
constexpr std::u16string_view kDeleteQuestion = u"你确定删除吗？。。。";
constexpr int kFileManagerPanel = 3;
constexpr int kExecutableFilter = 1;
constexpr int kMediaFilter = 4;

std::u16string_view modeWord(EditMode mode) { return kModeWords[static_cast<std::size_t>(mode)]; }

}  // namespace

FavouritesEditor::FavouritesEditor(Links links)
    : frame("Fra", {120, 900, 4935, 1455}),
      nameLabel("Label10", {240, 330, 540, 180}, u"名 称:"),
      nameBox("Tex1", {840, 300, 3855, 270}),
      addressLabel("Label13", {240, 690, 540, 180}, u"地 址:"),
      addressBox("Tex2", {840, 660, 3855, 270}),
      browseButton("Cop", {840, 1020, 1215, 300}, u"浏览文件..."),
      confirmLabel("Lab", {240, 1080, 1800, 180}),
      okButton("ComY", {3360, 1020, 615, 300}, u"确定"),
      cancelButton("ComN", {4080, 1020, 615, 300}, u"取消"),
      links_(std::move(links)) {
  frame.setVisible(false);
  okButton.setBackColour(0xFFFFC0);      // #C0FFFF
  cancelButton.setBackColour(0xC0FFFF);  // #FFFFC0
  browseButton.setBackColour(0xC0E0FF);  // #FFE0C0
  cancelButton.setTooltip(u"取消");
  okButton.onClick = [this] { confirm(); };
  cancelButton.onClick = [this] { hide(); };
  browseButton.onClick = [this] { browse(); };
  for (controls::Control* c : std::initializer_list<controls::Control*>{&nameLabel, &nameBox, &addressLabel, &addressBox, &browseButton, &confirmLabel,
                               &okButton, &cancelButton})
    frame.add(*c);

  for (int k = 0; k < 3; ++k) {
    ListButtons& b = *links_.buttons[static_cast<std::size_t>(k)];
    b.add.onClick = [this, k] { open(EditMode::Add, k); };
    b.remove.onClick = [this, k] { open(EditMode::Delete, k); };
    b.modify.onClick = [this, k] { open(EditMode::Modify, k); };
    b.sort.onClick = [this, k] { sort(k); };
  }
}

EditMode FavouritesEditor::mode() const {
  const std::u16string_view caption = frame.caption();
  for (std::size_t m = 0; m < kModeWords.size(); ++m)
    if (caption.substr(0, 2) == kModeWords[m]) return static_cast<EditMode>(m);
  return EditMode::Add;
}

int FavouritesEditor::list() const {
  const std::u16string_view caption = frame.caption();
  const std::u16string_view ending = caption.size() >= 2 ? caption.substr(caption.size() - 2) : caption;
  for (std::size_t k = 0; k < kKindWords.size(); ++k)
    if (ending == kKindWords[k]) return static_cast<int>(k);
  return kEmoticonList;
}

void FavouritesEditor::open(EditMode mode, int list) {
  const std::u16string_view kind = kKindWords[static_cast<std::size_t>(list)];
  std::u16string caption(modeWord(mode));
  caption.append(u"·").append(kind);
  frame.setCaption(caption);
  frame.setVisible(true);
  std::u16string text = u" ";
  text.append(modeWord(mode)).append(u" < ").append(kind).append(u" > ");
  links_.status.report(u"操作:", text);

  if (mode == EditMode::Add) {
    browseButton.setVisible(list != kEmoticonList);
    nameBox.setText(u"");
    addressBox.setText(u"");
    confirmLabel.setCaption(u"");
    addressBox.focus();
    return;
  }
  if (list == kProgramList) {
    IconPanel& programs = links_.programs;
    const int s = programs.selectedProgram();
    nameBox.setText(programs.caption(std::min(s, std::max(0, programs.count() - 1))));
    programs.programAddresses.setSelectedIndex(s);
    addressBox.setText(programs.programAddresses.selectedText());
  } else {
    FavouritesList& named = *links_.namedLists[static_cast<std::size_t>(list)];
    nameBox.setText(named.names.selectedText());
    addressBox.setText(named.addresses.selectedText());
  }
  browseButton.setVisible(false);
  confirmLabel.setCaption(mode == EditMode::Delete ? std::u16string(kDeleteQuestion) : std::u16string());
}

void FavouritesEditor::confirm() {
  const int k = list();
  const EditMode m = mode();
  if (k == kProgramList) {
    IconPanel& programs = links_.programs;
    if (m == EditMode::Add) programs.addProgramFavourite(nameBox.text(), addressBox.text());
    if (m == EditMode::Modify) programs.modifyProgram(nameBox.text(), addressBox.text());
    if (m == EditMode::Delete) programs.deleteSelectedProgram();
    hide();
    return;
  }
  FavouritesList& named = *links_.namedLists[static_cast<std::size_t>(k)];
  ListButtons& buttons = *links_.buttons[static_cast<std::size_t>(k)];
  const int chosen = named.names.selectedIndex();
  if (m == EditMode::Add) {
    named.insert(0, nameBox.text(), addressBox.text());
    // A choice like the user's: the new emoticon is queued, the new media plays.
    named.names.setSelectedIndex(0);
    named.addresses.setSelectedIndex(0);
    buttons.sort.setEnabled(true);
  } else if (chosen >= 0 && m == EditMode::Modify) {
    named.set(chosen, nameBox.text(), addressBox.text());
  } else if (chosen >= 0 && m == EditMode::Delete) {
    named.remove(chosen);
    buttons.remove.setEnabled(false);
    buttons.modify.setEnabled(false);
    if (named.count() == 0) buttons.sort.setEnabled(false);
  }
  // With no entry chosen there is nothing to change or delete.
  hide();
}

void FavouritesEditor::browse() {
  const bool program = list() == kProgramList;
  links_.selectPanel(kFileManagerPanel);
  links_.chooseFileFilter(program ? kExecutableFilter : kMediaFilter);
}

void FavouritesEditor::sort(int list) {
  if (list == kProgramList) {
    links_.programs.sortPrograms(links_.codec);
    return;
  }
  FavouritesList& named = *links_.namedLists[static_cast<std::size_t>(list)];
  // The choice is cleared first, as the handler of a cleared choice expects
  // a list that still holds what was chosen.
  named.names.setSelectedIndex(-1);
  named.sortByNameBytes(links_.codec);
}

}  // namespace vexlo::favourites
