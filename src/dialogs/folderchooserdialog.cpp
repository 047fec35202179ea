#include "dialogs/folderchooserdialog.h"

#include "storage/pathforms.h"

#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

FolderChooserDialog::FolderChooserDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TForm26"));
    setModal(true);
    resize(420, 480);
    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::Dirs | QDir::NoDotAndDotDot);
    tree_ = new QTreeView(this);
    tree_->setObjectName(QStringLiteral("DirectoryListBox1"));
    tree_->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column)
        tree_->hideColumn(column);
    auto* ok = new QPushButton(QStringLiteral("決定"), this);
    ok->setObjectName(QStringLiteral("BitBtn1"));
    ok->setToolTip(QStringLiteral("開くフォルダに決定"));
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("BitBtn2"));
    auto* column = new QVBoxLayout(this);
    column->addWidget(tree_);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    column->addLayout(row);

    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    select(model_->filePath(current));
            });
    connect(ok, &QPushButton::clicked, this, [this] {
        if (link_.isEmpty())
            link_ = caption_;
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        link_ = caption_;
        reject();
    });
}

void FolderChooserDialog::select(const QString& folder) {
    QString f = withSlashes(folder);
    if (!f.endsWith(QLatin1Char('/')))
        f += QLatin1Char('/');
    link_ = SOUTAI(f, wallFolder_, dataFolder_);
}

QString FolderChooserDialog::choose(const QString& currentLink, const QString& wallFolder,
                                    const QString& dataFolder) {
    caption_ = currentLink;
    link_.clear();
    wallFolder_ = wallFolder;
    dataFolder_ = dataFolder;
    setWindowTitle(currentLink);
    // The whole data folder, so that a parent or sibling wall can be picked
    // too, opened at the wall the card is on.
    tree_->setRootIndex(model_->setRootPath(dataFolder));
    const QModelIndex here = model_->index(wallFolder);
    if (here.isValid() && here != tree_->rootIndex()) {
        tree_->setCurrentIndex(here);
        tree_->expand(here);
        tree_->scrollTo(here);
    }
    link_.clear(); // the wall itself is no choice
    if (exec() != QDialog::Accepted)
        link_ = caption_;
    return link_;
}
