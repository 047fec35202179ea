#include "dialogs/linkdialog.h"

#include "cards/menuitems.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

LinkDialog::LinkDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TForm15"));
    setModal(true);
    setFixedSize(676, 104);
    auto* row = new QHBoxLayout(this);
    row->addWidget(new QLabel(QStringLiteral("リンク"), this));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    row->addWidget(Edit1, 1);
    auto button = [this, row](const char* name, const QString& caption, const QString& hint) {
        return addToolButton(this, row, name, caption, hint);
    };
    SpeedButton1 = button("SpeedButton1", QStringLiteral("参照"), QStringLiteral("ファイルを選ぶ"));
    SpeedButton2 = button("SpeedButton2", QStringLiteral("リンク"), QStringLiteral("リンクを設定"));
    SpeedButton3 =
        button("SpeedButton3", QStringLiteral("キャンセル"), QStringLiteral("キャンセル"));
    connect(SpeedButton1, &QToolButton::clicked, this, &LinkDialog::browse);
    connect(SpeedButton2, &QToolButton::clicked, this, [this] {
        setWindowTitle(Edit1->text().trimmed());
        accept();
    });
    connect(SpeedButton3, &QToolButton::clicked, this, &QDialog::reject);
}

QString LinkDialog::ask() {
    // Whatever ends the dialog other than "リンク" means no link: an old
    // target must not come back from a closed window.
    setWindowTitle(QString());
    Edit1->setFocus();
    if (exec() != QDialog::Accepted)
        setWindowTitle(QString());
    return windowTitle();
}

void LinkDialog::browse() {
    FileRequest request;
    request.title = QStringLiteral("リンク");
    request.folder = startFolder_;
    request.filter = QStringLiteral("全て (*);;PDF (*.pdf)");
    const QString chosen = prompts_->chooseFile(request);
    if (chosen.isEmpty())
        return;
    Edit1->setText(chosen);
    if (QFileInfo(chosen).isFile())
        startFolder_ = QFileInfo(chosen).absolutePath();
}
