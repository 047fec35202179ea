#include "dialogs/startoverdialog.h"

#include <QHBoxLayout>
#include <QPushButton>

StartOverDialog::StartOverDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TForm6"));
    setWindowTitle(QStringLiteral("Zavik"));
    setModal(true);
    auto* restart = new QPushButton(QStringLiteral("はじめから"), this);
    restart->setObjectName(QStringLiteral("restartButton"));
    restart->setToolTip(QStringLiteral("今あるファイルに新しいファイルを上書き"));
    auto* resume = new QPushButton(QStringLiteral("つづきから"), this);
    resume->setObjectName(QStringLiteral("continueButton"));
    resume->setToolTip(QStringLiteral("今あるファイルを開く"));
    auto* row = new QHBoxLayout(this);
    row->addWidget(restart);
    row->addWidget(resume);
    connect(restart, &QPushButton::clicked, this, [this] {
        tag_ = Restart;
        accept();
    });
    connect(resume, &QPushButton::clicked, this, [this] {
        tag_ = Continue;
        accept();
    });
}

int StartOverDialog::exec() {
    tag_ = Closed;
    return QDialog::exec();
}
