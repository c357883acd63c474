#include "session/window_model.h"

#include "session/texts.h"

namespace vb {

WindowModel::WindowModel(View& view) : view_(view) {
  for (Control c : {Control::MenuSystem, Control::MenuSettings, Control::MenuService,
                    Control::MenuHelp, Control::DialogueView, Control::MainWindow}) {
    enabled_[index(c)] = true;
  }
  status_[2] = texts::modeCpuUser();
  captions_[index(MenuItem::N18)] = texts::captionIncoming();
  captions_[index(MenuItem::N19)] = texts::captionOutgoing();
  captions_[index(MenuItem::N20)] = texts::captionTotal();
  checked_[index(MenuItem::CpuUser1)] = true;
}

void WindowModel::pushAll() {
  view_.clearLines();
  for (const ViewLine& line : lines_) view_.appendLine(line.kind, line.text);
  view_.setInputText(input_);
  view_.setInputReadOnly(readOnly_);
  for (int c = 0; c < kControlCount; ++c) view_.setEnabled(static_cast<Control>(c), enabled_[c]);
  for (int p = 0; p < kStatusPanels; ++p) view_.setStatus(p, status_[p]);
  for (MenuItem item : {MenuItem::N18, MenuItem::N19, MenuItem::N20}) {
    view_.setMenuCaption(item, captions_[index(item)]);
  }
  for (MenuItem item : {MenuItem::N24, MenuItem::CpuUser1, MenuItem::Cpu31}) {
    view_.setChecked(item, checked_[index(item)]);
  }
  for (int w = 0; w < kWindowCount; ++w) view_.showWindow(static_cast<Window>(w), shown_[w]);
  view_.busyCursor(busy_);
}

void WindowModel::appendLine(LineKind kind, const std::string& text) {
  lines_.push_back({kind, text});
  view_.appendLine(kind, text);
}

void WindowModel::deleteLastLine() {
  if (lines_.empty()) return;
  lines_.pop_back();
  view_.deleteLastLine();
}

void WindowModel::clearLines() {
  if (lines_.empty()) return;
  lines_.clear();
  view_.clearLines();
}

bool WindowModel::setInput(const std::string& text) {
  if (text == input_) return false;
  input_ = text;
  view_.setInputText(input_);
  return true;
}

bool WindowModel::typed(const std::string& text) {
  if (text == input_) return false;
  input_ = text;
  return true;
}

void WindowModel::setInputReadOnly(bool readOnly) {
  if (readOnly == readOnly_) return;
  readOnly_ = readOnly;
  view_.setInputReadOnly(readOnly);
}

void WindowModel::setEnabled(Control control, bool enabled) {
  bool& slot = enabled_[index(control)];
  if (slot == enabled) return;
  slot = enabled;
  view_.setEnabled(control, enabled);
}

void WindowModel::setStatus(int panel, const std::string& text) {
  std::string& slot = status_[static_cast<std::size_t>(panel)];
  if (slot == text) return;
  slot = text;
  view_.setStatus(panel, text);
}

void WindowModel::setCaption(MenuItem item, const std::string& caption) {
  std::string& slot = captions_[index(item)];
  if (slot == caption) return;
  slot = caption;
  view_.setMenuCaption(item, caption);
}

void WindowModel::setChecked(MenuItem item, bool checked) {
  bool& slot = checked_[index(item)];
  if (slot == checked) return;
  slot = checked;
  view_.setChecked(item, checked);
}

void WindowModel::showWindow(Window window, bool shown) {
  bool& slot = shown_[index(window)];
  if (slot == shown) return;
  slot = shown;
  view_.showWindow(window, shown);
}

void WindowModel::busyCursor(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  view_.busyCursor(busy);
}

}  // namespace vb
