#include "board/letter_pad.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

#include <functional>

namespace quimbra::window {

QWidget* letterPad(QLineEdit* box, QSize key) {
    auto* pad = new QWidget;
    pad->setObjectName(QStringLiteral("letterPad"));
    auto* grid = new QGridLayout(pad);
    grid->setContentsMargins(0, 0, 0, 0);
    const auto add = [&](const QString& text, int row, int column, int span,
                         std::function<void()> typed) {
        auto* button = new QPushButton(text, pad);
        button->setAccessibleName(text);
        // The box keeps the focus, and Enter the dialog's OK.
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoDefault(false);
        button->setMinimumSize(key.width() * span, key.height());
        QObject::connect(button, &QPushButton::clicked, box, std::move(typed));
        grid->addWidget(button, row, column, 1, span);
    };
    const QString letters =
        QString::fromUtf8("ABCDEFGHIJKLMNOPQRSTUVWXYZ\u00e0\u00e8\u00e9\u00ec\u00f2\u00f9");
    for (int i = 0; i < letters.size(); ++i) {
        const QChar letter = letters.at(i);
        add(QString(letter), i / 8, i % 8, 1, [box, letter] {
            box->insert(box->text().isEmpty() ? letter.toUpper() : letter.toLower());
        });
    }
    add(QStringLiteral("Spazio"), 4, 0, 5, [box] { box->insert(QStringLiteral(" ")); });
    add(QStringLiteral("Cancella"), 4, 5, 3, [box] { box->backspace(); });
    return pad;
}

}  // namespace quimbra::window
