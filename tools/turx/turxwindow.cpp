#include "turxwindow.h"

#include "turtlecanvas.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QVBoxLayout>

TurxWindow::TurxWindow(const QString& path, QWidget* parent) : QWidget(parent), path_(path) {
    editor_ = new QPlainTextEdit(this);
    editor_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
    editor_->setTabStopDistance(editor_->fontMetrics().horizontalAdvance(QLatin1Char(' ')) * 4);
    canvas_ = new TurtleCanvas(this);

    auto* run = new QPushButton(QStringLiteral("実行"), this);
    run->setShortcut(QKeySequence(QStringLiteral("Ctrl+R")));
    run->setToolTip(QStringLiteral("絵を消して、全部を実行します (Ctrl+R)"));
    auto* saveButton = new QPushButton(QStringLiteral("保存"), this);
    saveButton->setShortcut(QKeySequence::Save);
    saveButton->setToolTip(QStringLiteral("プロジェクトを保存します (Ctrl+S)"));
    auto* clear = new QPushButton(QStringLiteral("クリア"), this);
    clear->setToolTip(QStringLiteral("絵を消して、タートルを真ん中に戻します"));
    status_ = new QLabel(this);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* panes = new QHBoxLayout;
    panes->addWidget(editor_, 1);
    panes->addWidget(canvas_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(run);
    buttons->addWidget(saveButton);
    buttons->addWidget(clear);
    buttons->addWidget(status_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(panes, 1);
    layout->addLayout(buttons);

    connect(run, &QPushButton::clicked, this, &TurxWindow::runProgram);
    connect(saveButton, &QPushButton::clicked, this, &TurxWindow::save);
    connect(clear, &QPushButton::clicked, this, &TurxWindow::clearCanvas);
    connect(editor_->document(), &QTextDocument::modificationChanged, this,
            &QWidget::setWindowModified);

    resize(1000, 560);
    load();
    updateTitle();
}

void TurxWindow::load() {
    if (path_.isEmpty() || !QFileInfo::exists(path_))
        return;
    QString error;
    if (!readProjectFile(path_, &project_, &error)) {
        // Saving over a file that could not be read would lose it: the text
        // goes to a file of a new name instead.
        showStatus(QStringLiteral("%1 を開けません: %2").arg(QFileInfo(path_).fileName(), error),
                   true);
        path_.clear();
        return;
    }
    editor_->setPlainText(project_.text);
    editor_->document()->setModified(false);
}

void TurxWindow::updateTitle() {
    const QString name = path_.isEmpty() ? QStringLiteral("無題") : QFileInfo(path_).fileName();
    setWindowTitle(QStringLiteral("TURX - %1[*]").arg(name));
}

void TurxWindow::showStatus(const QString& text, bool isError) {
    status_->setStyleSheet(isError ? QStringLiteral("color: #c00000;") : QString());
    status_->setText(text);
}

void TurxWindow::runProgram() {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    LogoResult result = interpreter_.run(editor_->toPlainText());
    QGuiApplication::restoreOverrideCursor();
    if (result.error) {
        showStatus(result.error->text(), true);
        // Put the cursor on the line at fault, ready for the fix.
        const QTextBlock block = editor_->document()->findBlockByNumber(result.error->line - 1);
        if (block.isValid()) {
            QTextCursor cursor(block);
            editor_->setTextCursor(cursor);
        }
    } else {
        showStatus(QStringLiteral("実行しました"), false);
    }
    canvas_->setResult(std::move(result));
}

bool TurxWindow::save() {
    QString path = path_;
    if (path.isEmpty()) {
        path = QFileDialog::getSaveFileName(this, QStringLiteral("名前を付けて保存"), QString(),
                                            QStringLiteral("LOGO プロジェクト (*.trx *.tr2)"));
        if (path.isEmpty())
            return false;
        const QString suffix = QFileInfo(path).suffix().toLower();
        if (suffix != QLatin1String("trx") && suffix != QLatin1String("tr2"))
            path += QStringLiteral(".trx");
    }
    project_.text = editor_->toPlainText();
    QString error;
    if (!writeProjectFile(path, project_, &error)) {
        showStatus(QStringLiteral("保存できません: %1").arg(error), true);
        return false;
    }
    path_ = path;
    editor_->document()->setModified(false);
    updateTitle();
    showStatus(QStringLiteral("保存しました"), false);
    return true;
}

void TurxWindow::clearCanvas() {
    canvas_->setResult(LogoResult());
    showStatus(QString(), false);
}

void TurxWindow::closeEvent(QCloseEvent* event) {
    if (!editor_->document()->isModified()) {
        event->accept();
        return;
    }
    QMessageBox box(QMessageBox::Question, QStringLiteral("TURX"),
                    QStringLiteral("変更を保存しますか？"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("はい"));
    box.button(QMessageBox::No)->setText(QStringLiteral("いいえ"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("キャンセル"));
    box.setDefaultButton(QMessageBox::Yes);
    const int answer = box.exec();
    if (answer == QMessageBox::No || (answer == QMessageBox::Yes && save()))
        event->accept();
    else
        event->ignore();
}
