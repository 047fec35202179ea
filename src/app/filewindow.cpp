#include "app/filewindow.h"

#include "model/bgrcolor.h"
#include "model/wallgeometry.h"
#include "storage/folderlisting.h"
#include "storage/windowsettings.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

FileWindow::FileWindow(QWidget* wallArea) : QWidget(wallArea) {
    setObjectName(QStringLiteral("Panel4"));
    setAutoFillBackground(true);
    // The file window keeps the desktop's own colours, its caption a title
    // bar in the wall's navy.
    QPalette filePalette = QApplication::palette();
    filePalette.setColor(QPalette::Window, bgrColor(kNavy));
    filePalette.setColor(QPalette::WindowText, Qt::white);
    setPalette(filePalette);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    FileListBox2 = new QListWidget(this);
    FileListBox2->setObjectName(QStringLiteral("FileListBox2"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(2);
    column->addWidget(Label1);
    column->addWidget(FileListBox2);
    hide();
    connect(FileListBox2, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { emit fileClicked(item ? item->text() : QString()); });
}

void FileWindow::showFor(const WindowSettings& s, const QString& folder, int NOWX, int NOWY) {
    Label1->setText(s.files.label + QLatin1Char('(') + s.files.mask + QLatin1Char(')'));
    setGeometry(fileWindowRect(s, NOWX, NOWY));
    refresh(folder, s.files.mask);
    show();
}

void FileWindow::refresh(const QString& folder, const QString& mask) {
    FileListBox2->clear();
    if (mask.isEmpty())
        return;
    if (const auto names = listMatchingFiles(folder, mask))
        FileListBox2->addItems(*names);
}
