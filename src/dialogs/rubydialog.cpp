#include "dialogs/rubydialog.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

RubyDialog::RubyDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TForm13"));
    setWindowTitle(QStringLiteral("ルビふり"));
    setModal(true);
    setFixedSize(515, 86);
    auto* row = new QHBoxLayout(this);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont large = Label1->font();
    large.setPixelSize(32);
    Label1->setFont(large);
    row->addWidget(Label1);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    QFont reading = Edit1->font();
    reading.setPixelSize(16);
    Edit1->setFont(reading);
    row->addWidget(Edit1, 1);
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("OK"));
    SpeedButton1->setToolTip(QStringLiteral("ルビをふる"));
    SpeedButton2 = new QToolButton(this);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setText(QStringLiteral("キャンセル"));
    SpeedButton2->setToolTip(QStringLiteral("キャンセル"));
    row->addWidget(SpeedButton1);
    row->addWidget(SpeedButton2);
    connect(SpeedButton1, &QToolButton::clicked, this, &QDialog::accept);
    connect(SpeedButton2, &QToolButton::clicked, this, [this] {
        Edit1->clear();
        reject();
    });
    connect(Edit1, &QLineEdit::returnPressed, this, &QDialog::accept);
}

void RubyDialog::keyPressEvent(QKeyEvent* event) {
    // Escape cancels, as "キャンセル" does; only the close box keeps the
    // reading.
    if (event->key() == Qt::Key_Escape)
        Edit1->clear();
    QDialog::keyPressEvent(event);
}

QString RubyDialog::ask(const QString& base) {
    Edit1->clear();
    Label1->setText(base);
    if (parentWidget()) {
        const QRect owner = parentWidget()->frameGeometry();
        move(owner.center() - rect().center());
    }
    Edit1->setFocus();
    exec();
    return Edit1->text().trimmed();
}
