#pragma once

#include "pageeditor/pagedocument.h"
#include "pageeditor/pagefile.h"
#include "support/filebytes.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <functional>

// A page as the editor writes it, with these texts.
inline QByteArray editorPage(const QString& framed, const QString& unframed = {}) {
    PageMemory memory;
    PageDocument doc(memory);
    doc.Edit_LOAD(doc.templateSource(), QDir::tempPath() + "/");
    doc.fields.title = "授業";
    doc.fields.framedText = framed;
    doc.fields.unframedText = unframed;
    QTemporaryDir dir;
    writePageFile(dir.filePath("p.htm"), doc.Edit_SAVE());
    return readFileBytes(dir.filePath("p.htm"));
}

// Runs `step` on the editor once it is shown (it is modal) and has the
// keyboard, which a busy machine may give it some time later.
inline void whenShown(QWidget* editor, std::function<void()> step) {
    auto* poll = new QTimer(editor);
    QObject::connect(poll, &QTimer::timeout, editor, [editor, poll, step] {
        if (!editor->isVisible() || !editor->isActiveWindow())
            return;
        poll->deleteLater();
        step();
    });
    poll->start(10);
}

// The editor's control of the form name `name`; a missing one stops the
// test run, naming it.
template <class T> T* control(const QWidget& editor, const char* name) {
    T* found = editor.findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("the page editor has no control %s", name);
    return found;
}
