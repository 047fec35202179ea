#pragma once

#include <QDialog>

class QFileSystemModel;
class QTreeView;

// Picks a wall as a card's link: the data folder's tree, opened at the wall
// folder; the chosen folder comes back relative to the wall folder (or, when
// it is not below it, to the data folder) with a trailing separator.
class FolderChooserDialog : public QDialog { // TForm26
    Q_OBJECT
public:
    explicit FolderChooserDialog(QWidget* parent = nullptr);

    // Shows the tree opened at `wallFolder`; returns the link to use: the chosen
    // folder, or `currentLink` when cancelled or nothing was chosen.
    QString choose(const QString& currentLink, const QString& wallFolder,
                   const QString& dataFolder);
    // The link the present selection makes.
    QString link() const { return link_; }
    void select(const QString& folder);

private:
    // The choice is made: nothing changes it any more.
    void decide(const QString& link);

    QTreeView* tree_;
    QFileSystemModel* model_;
    QString caption_;
    QString link_;
    QString wallFolder_;
    QString dataFolder_;
    bool decided_ = false;
};
