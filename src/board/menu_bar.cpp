#include "board/menu_bar.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QProxyStyle>
#include <QStyleFactory>

#include <cmath>

namespace quimbra::window {

// The style's room around and between the items, in pixels at design size,
// grown by a factor like the font, so that the items stay apart.
class MenuBar::Spacing final : public QProxyStyle {
  public:
    Spacing() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}
    double factor() const { return factor_; }
    void setFactor(double factor) { factor_ = factor; }

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        const int base = QProxyStyle::pixelMetric(metric, option, widget);
        switch (metric) {
            case PM_MenuBarItemSpacing:
            case PM_MenuBarHMargin:
            case PM_MenuBarVMargin:
            case PM_MenuBarPanelWidth:
                return grown(base);
            default:
                return base;
        }
    }
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contents,
                           const QWidget* widget) const override {
        const QSize size = QProxyStyle::sizeFromContents(type, option, contents, widget);
        if (type != CT_MenuBarItem) {
            return size;
        }
        return contents + QSize(grown(size.width() - contents.width()),
                                grown(size.height() - contents.height()));
    }

  private:
    int grown(int pixels) const { return static_cast<int>(std::lround(pixels * factor_)); }

    double factor_ = 1.0;
};

void MenuBar::setScale(const FontChoice& font, const BoardScale& scale) {
    if (spacing_->factor() != scale.factor()) {
        spacing_->setFactor(scale.factor());
        // The style's sizes are not watched: the items are measured afresh.
        QEvent changed(QEvent::StyleChange);
        QApplication::sendEvent(this, &changed);
    }
    setFont(makeFont(font, scale));
}

MenuBar::MenuBar(QWidget* parent) : QMenuBar(parent), spacing_(new Spacing) {
    spacing_->setParent(this);
    setStyle(spacing_);
    QMenu* ciao = addMenu("di Autrice Uno e Autore Due");
    ciao->setObjectName("Ciao(1)");
    ciao->addAction("Via dell'Esempio 1 - 00000 Paese Esempio")->setObjectName("Tmer(1)");
    // In the first menu, the one F10 opens on, so that the bar itself stays
    // as it is drawn without the voice.
    readAloud_ = ciao->addAction("Leggi ad alta voce");
    readAloud_->setObjectName("voce");
    readAloud_->setCheckable(true);
    newGame_ = addAction("NUOVO GIOCO");
    newGame_->setObjectName("new");
    QMenu* school = addMenu("www.scuola.example");
    school->setObjectName("scuola");
    school->addAction("Scuola Primaria Statale \"Esempio\"")->setObjectName("ist");
    addAction("E-mail autori: autori@scuola.example" + QString(16, u' '))->setObjectName("df");
}

bool MenuBar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && menuKey(*static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QMenuBar::eventFilter(watched, event);
}

bool MenuBar::menuKey(const QKeyEvent& key) {
    const QList<QAction*> items = actions();
    if (key.key() == Qt::Key_F10 && key.modifiers() == Qt::NoModifier) {
        setActiveAction(items.constFirst());
        return true;
    }
    QAction* active = activeAction();
    if (active == nullptr || QApplication::activePopupWidget() != nullptr) {
        return false;
    }
    const qsizetype at = items.indexOf(active);
    const qsizetype count = items.size();
    switch (key.key()) {
        case Qt::Key_Left:
            setActiveAction(items.at((at + count - 1) % count));
            break;
        case Qt::Key_Right:
            setActiveAction(items.at((at + 1) % count));
            break;
        case Qt::Key_Down:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            if (QMenu* list = active->menu()) {
                // Its list opens, where the pupil finds "Leggi ad alta voce".
                list->popup(mapToGlobal(actionGeometry(active).bottomLeft()));
                break;
            }
            if (key.key() != Qt::Key_Down) {
                setActiveAction(nullptr);
                active->trigger();
            }
            break;
        case Qt::Key_Escape:
        case Qt::Key_F10:
            setActiveAction(nullptr);
            break;
        default:
            break;
    }
    return true;
}

}  // namespace quimbra::window
