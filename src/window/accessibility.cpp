#include "window/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "window/tavola.h"
#include "window/widgets.h"

namespace quimbra::window {

namespace {

// A TextLabel reads like a plain label: its text, as shown, is its name, so
// the screen reader says the value rather than what it is for. A hidden label
// says nothing: the one that holds the expected answer must not give it away.
class TextLabelAccessible final : public QAccessibleWidget {
  public:
    explicit TextLabelAccessible(TextLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            if (widget()->isHidden()) {
                return {};
            }
            return static_cast<const TextLabel*>(widget())->shownText();
        }
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* textLabelInterface(const QString&, QObject* object) {
    if (auto* label = dynamic_cast<TextLabel*>(object)) {
        return new TextLabelAccessible(label);
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

void describeForScreenReaders(Tavola& window) {
    static const bool installed = [] {
        QAccessible::installFactory(textLabelInterface);
        return true;
    }();
    (void)installed;

    for (const Meaning& m : meanings) {
        if (TextLabel* label = window.label(m.label)) {
            label->setAccessibleDescription(QString::fromUtf8(m.description));
        }
    }
    window.txtAnswer()->setAccessibleName(QStringLiteral("risposta"));
    window.cmdNext()->setAccessibleName(QStringLiteral("Nuovo calcolo"));
    window.cmdExit()->setAccessibleName(QStringLiteral("Esci"));
}

}  // namespace quimbra::window
