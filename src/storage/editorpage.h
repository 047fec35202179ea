#pragma once

#include <QString>

// Whether the page at `path` is one the page editor wrote: it carries the
// marker "WebTXT_TEXT" in its head. Such pages open in the editor, others
// in the desktop's browser or text editor.
bool isEditorPage(const QString& path);
