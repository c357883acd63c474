#include "ui/deferred_icon.h"

#include <QIconEngine>
#include <QPainter>
#include <memory>

namespace vb {
namespace {

// The made icon is shared by the copies of the engine.
struct Made {
  std::function<QIcon()> make;
  QIcon icon;
  bool done = false;

  const QIcon& get() {
    if (!done) {
      done = true;
      icon = make();
      make = nullptr;
    }
    return icon;
  }
};

class DeferredEngine final : public QIconEngine {
 public:
  explicit DeferredEngine(std::shared_ptr<Made> made) : made_(std::move(made)) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    made_->get().paint(painter, rect, Qt::AlignCenter, mode, state);
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return made_->get().pixmap(size, mode, state);
  }
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                       qreal scale) override {
    return made_->get().pixmap(size, scale, mode, state);
  }
  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return made_->get().actualSize(size, mode, state);
  }
  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
    return made_->get().availableSizes(mode, state);
  }
  bool isNull() override { return made_->get().isNull(); }
  QString key() const override { return QStringLiteral("vb.deferred"); }
  QIconEngine* clone() const override { return new DeferredEngine(made_); }

 private:
  std::shared_ptr<Made> made_;
};

}  // namespace

QIcon deferredIcon(std::function<QIcon()> make) {
  auto made = std::make_shared<Made>();
  made->make = std::move(make);
  return QIcon(new DeferredEngine(std::move(made)));
}

}  // namespace vb
