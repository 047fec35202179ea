#include "reports/foldertreewindow.h"

#include "reports/foldertree.h"
#include "storage/atomicfile.h"
#include "storage/wallfiles.h"
#include "storage/walltext.h"

#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

FolderTreeWindow::FolderTreeWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TForm22"));
    setWindowTitle(QStringLiteral("構成"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    layout->addWidget(Memo1);
    problems = new QLabel(this);
    problems->setObjectName(QStringLiteral("problems"));
    problems->setWordWrap(true);
    problems->hide();
    layout->addWidget(problems);
    resize(700, 600);
}

void FolderTreeWindow::FormShow(const QString& top, const QString& dataFolder) {
    const FolderTree tree = folderTreeLines(top);
    const QString text = tree.lines.join(QStringLiteral("\r\n"));
    Memo1->setPlainText(text);
    QStringList said;
    if (tree.tooDeep)
        said << QStringLiteral("ERROR");
    const QString file = dataFolder + QStringLiteral("folder.txt");
    if (QFileInfo::exists(file) && !readCardFile(file).isEmpty()) {
        said << QStringLiteral("「%1」はカードのファイルなので、書き換えませんでした。").arg(file);
    } else {
        QString error;
        if (!writeFileAtomically(file, encodeWallText(text), &error))
            said << QStringLiteral("「%1」を書けません：%2").arg(file, error);
    }
    problems->setText(said.join(QLatin1Char('\n')));
    problems->setVisible(!said.isEmpty());
}
