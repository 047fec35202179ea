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

    // The folder the user selects, by mouse or keyboard, is the choice. The
    // bare current row is not: the view moves it by itself, for instance to
    // the first row when the model's rows arrive from its own thread after
    // the user has chosen.
    connect(tree_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected) {
                const QModelIndexList rows = selected.indexes();
                if (!rows.isEmpty())
                    select(model_->filePath(rows.first()));
            });
    connect(ok, &QPushButton::clicked, this, [this] {
        decide(link_.isEmpty() ? caption_ : link_);
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        decide(caption_);
        reject();
    });
}

void FolderChooserDialog::decide(const QString& link) {
    link_ = link;
    decided_ = true;
}

void FolderChooserDialog::select(const QString& folder) {
    if (decided_)
        return;
    QString f = withSlashes(folder);
    if (!f.endsWith(QLatin1Char('/')))
        f += QLatin1Char('/');
    link_ = SOUTAI(f, wallFolder_, dataFolder_);
}

QString FolderChooserDialog::choose(const QString& currentLink, const QString& wallFolder,
                                    const QString& dataFolder) {
    caption_ = currentLink;
    link_.clear();
    decided_ = false;
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
    // What the buttons decided holds, whatever the view does while the
    // dialog closes; closing it otherwise is a cancel.
    if (exec() != QDialog::Accepted || !decided_)
        decide(caption_);
    return link_;
}
