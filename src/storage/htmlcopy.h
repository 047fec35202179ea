#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Copies a page F1 to F2 and, for an ".html" page, the pictures it names in
// src="…" beside the copy. Only names that stay below the page's folder are
// copied (no "..", no absolute, drive or URL form), a file is never copied
// onto itself, and nothing is deleted first. Failures are silent; returns
// whether the page itself is at F2.
bool HTMLCOPY(const QString& F1, const QString& F2);

// Copies a file over another without removing it first; a copy onto itself
// does nothing.
bool copyOver(const QString& from, const QString& to);

// Copies the files a page refers to ("background=" and every "src=") from the
// source page's folder into the destination page's folder, replacing what is
// there. Only names that stay below the page's folder are copied; missing
// files are skipped. `mayWrite`, when given, is asked before each file is
// written and may refuse it.
void BACKUP(const QString& sourcePage, const QString& destinationPage,
            const std::function<bool(const QString& path)>& mayWrite = {});
// The files BACKUP copies, relative to the page's folder, with "/".
QStringList BACKUPFiles(const QString& sourcePage);
