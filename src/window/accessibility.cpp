#include "window/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>

#include "window/tavola.h"

namespace quimbra::window {

namespace {

// A label of the board says its text, as shown, as Qt's own labels do; a
// hidden one says nothing: the one that holds the expected answer must not
// give it away. Labels elsewhere (the dialogs') keep Qt's own interface.
class BoardLabel final : public QAccessibleWidget {
  public:
    explicit BoardLabel(QLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            return widget()->isHidden() ? QString() : static_cast<QLabel*>(widget())->text();
        }
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* boardLabelInterface(const QString&, QObject* object) {
    auto* label = qobject_cast<QLabel*>(object);
    if (label != nullptr && qobject_cast<Tavola*>(label->window()) != nullptr) {
        return new BoardLabel(label);
    }
    return nullptr;
}

struct Meaning {
    const char* label;
    const char* description;
};

// What each value means; the value itself stays the name.
constexpr Meaning meanings[] = {
    {"Lblmisura", "altezza del rettangolo, in centimetri"},
    {"lblnum2", "numeratore della frazione"},
    {"lbldeno", "denominatore della frazione"},
    {"lblMessage", "esito della risposta"},
    {"lblScore", "risposte esatte"},
    {"lblScore1", "risposte errate"},
    {"lblScore2", "risposte totali"},
    {"lblconto", "tempo restante"},
    {"lblpunti", "punteggio del record"},
    {"lblnome", "nome di chi detiene il record"},
    {"lblnome1", "nome del giocatore"},
};

}  // namespace

void installBoardAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(boardLabelInterface);
        return true;
    }();
    (void)installed;
}

void describeForScreenReaders(Tavola& window) {
    for (const Meaning& m : meanings) {
        if (QLabel* label = window.label(m.label)) {
            label->setAccessibleDescription(QString::fromUtf8(m.description));
        }
    }
    window.txtAnswer()->setAccessibleName(QStringLiteral("risposta"));
    window.cmdNext()->setAccessibleName(QStringLiteral("Nuovo calcolo"));
    window.cmdExit()->setAccessibleName(QStringLiteral("Esci"));
}

}  // namespace quimbra::window
