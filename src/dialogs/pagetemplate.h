#pragma once

#include <QString>

// Makes the page `page` (a file in a wall folder, "B.htm") from the word
// processor's template in the resource folder: "ZavikHELP/TEMPLATE.htm"
// becomes the page with every "TEMPLATE" in it replaced by B, and the files
// of "ZavikHELP/TEMPLATE.files" go into "B.files" beside it, where the page's
// name in "header.htm" and "filelist.xml" is changed to B's. Every file keeps
// its encoding and byte order mark. Nothing is written when the template is
// missing or cannot be read. Returns an empty string, or what went wrong,
// for the user.
QString makePageFromTemplate(const QString& resourceFolder, const QString& page);
