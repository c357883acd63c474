#pragma once
// A group frame drawn as the program's windows draw theirs: an etched line
// round the group with the caption standing on its top edge, so that the
// group's whole height is free for what it holds.

#include <QWidget>

namespace vb {

class CaptionFrame final : public QWidget {
  Q_OBJECT

 public:
  CaptionFrame(const QString& caption, QWidget* parent);
  const QString& caption() const { return caption_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString caption_;
};

}  // namespace vb
