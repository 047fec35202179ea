#include "dialogs/startovercanceldialog.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

QString continuationPageName(const QString& fileName) {
    QString name = fileName;
    for (qsizetype i = name.size() - 1; i >= 0; --i) {
        if (name[i] == QLatin1Char('\\') || name[i] == QLatin1Char('/') ||
            name[i] == QLatin1Char(':')) {
            name = name.mid(i + 1);
            break;
        }
    }
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    return name + QStringLiteral(".htm");
}

StartOverCancelDialog::StartOverCancelDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TForm27"));
    setWindowTitle(QStringLiteral("Zavik"));
    setModal(true);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    auto* restart = new QPushButton(QStringLiteral("はじめから"), this);
    restart->setObjectName(QStringLiteral("restartButton"));
    auto* resume = new QPushButton(QStringLiteral("つづきから"), this);
    resume->setObjectName(QStringLiteral("continueButton"));
    // The cancel button carries the dialog's result, as the callers expect.
    BitBtn1 = new QPushButton(QStringLiteral("キャンセル"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));

    auto* column = new QVBoxLayout(this);
    column->addWidget(Edit1);
    auto* row = new QHBoxLayout;
    row->addWidget(restart);
    row->addWidget(resume);
    row->addWidget(BitBtn1);
    column->addLayout(row);

    connect(restart, &QPushButton::clicked, this, [this] { finishWith(Restart); });
    connect(resume, &QPushButton::clicked, this, [this] {
        Edit1->setText(continuationPageName(Edit1->text()));
        finishWith(Continue);
    });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { finishWith(Cancel); });
}

void StartOverCancelDialog::setFileName(const QString& name) {
    Edit1->setText(name);
}

QString StartOverCancelDialog::fileName() const {
    return Edit1->text();
}

int StartOverCancelDialog::exec() {
    finishWith(Cancel);
    return QDialog::exec();
}

void StartOverCancelDialog::finishWith(int result) {
    result_ = result;
    BitBtn1->setProperty("tag", result);
    if (isVisible())
        accept();
}
