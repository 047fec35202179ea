#include "storage/editorpage.h"

#include <QFile>
#include <QFileInfo>

bool isEditorPage(const QString& path) {
    // The marker stands in the head; a page of any size, even one too large
    // to edit, is told by its beginning.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    return file.read(64 * 1024).contains("WebTXT_TEXT");
}
