#pragma once
// What the main window shows, kept by the session and mirrored to the
// View: the lines of the dialogue view, the input text, enabled states,
// status panels, menu captions and check marks, the other windows and the
// busy cursor. A setter calls the View only when the value changes, so the
// 15 ms timers cost nothing while the window is at rest.

#include <array>
#include <string>
#include <vector>

#include "session/view.h"

namespace vb {

struct ViewLine {
  LineKind kind;
  std::string text;
  bool operator==(const ViewLine&) const = default;
};

inline constexpr int kControlCount = static_cast<int>(Control::KeyboardEnter) + 1;
inline constexpr int kMenuItemCount = static_cast<int>(MenuItem::Cpu31) + 1;
inline constexpr int kWindowCount = static_cast<int>(Window::Keyboard) + 1;
inline constexpr int kStatusPanels = 3;

class WindowModel {
 public:
  // The state of the window as it is built: buttons disabled, menus
  // enabled, Cpu\User checked, panel 2 "Режим Cpu\User".
  explicit WindowModel(View& view);

  // Sends the whole state once, so the front end and the model agree.
  void pushAll();

  // Dialogue view RE1.
  const std::vector<ViewLine>& lines() const { return lines_; }
  void appendLine(LineKind kind, const std::string& text);
  void deleteLastLine();
  void clearLines();

  // Input. setInput returns whether the text changed (the caller then runs
  // the input-change handling); typed() takes a change the user made in
  // the front end's field, which already shows it.
  const std::string& input() const { return input_; }
  bool setInput(const std::string& text);
  bool typed(const std::string& text);
  bool inputReadOnly() const { return readOnly_; }
  void setInputReadOnly(bool readOnly);

  bool enabled(Control control) const { return enabled_[index(control)]; }
  void setEnabled(Control control, bool enabled);

  const std::string& status(int panel) const { return status_[static_cast<std::size_t>(panel)]; }
  void setStatus(int panel, const std::string& text);

  const std::string& caption(MenuItem item) const { return captions_[index(item)]; }
  void setCaption(MenuItem item, const std::string& caption);
  bool checked(MenuItem item) const { return checked_[index(item)]; }
  void setChecked(MenuItem item, bool checked);

  bool shown(Window window) const { return shown_[index(window)]; }
  void showWindow(Window window, bool shown);

  bool busy() const { return busy_; }
  void busyCursor(bool busy);

 private:
  template <typename E>
  static std::size_t index(E e) {
    return static_cast<std::size_t>(e);
  }

  View& view_;
  std::vector<ViewLine> lines_;
  std::string input_;
  bool readOnly_ = false;
  std::array<bool, kControlCount> enabled_{};
  std::array<std::string, kStatusPanels> status_;
  std::array<std::string, kMenuItemCount> captions_;
  std::array<bool, kMenuItemCount> checked_{};
  std::array<bool, kWindowCount> shown_{};
  bool busy_ = false;
};

// The busy cursor for one scope: on when made, back to normal when the
// scope ends, a failure included.
class BusyScope {
 public:
  explicit BusyScope(WindowModel& model) : model_(model) { model_.busyCursor(true); }
  ~BusyScope() { model_.busyCursor(false); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  WindowModel& model_;
};

}  // namespace vb
