#pragma once

#include <QString>

// The outside programs that make and edit the web window's pages: a word
// processor for documents and a plain text editor for pages written by hand.
// Each opener starts its program on its own, not waited for, and says whether
// it started; callers ignore a failed start, as it changes nothing.

// The word processor of this desktop: libreoffice (or soffice) found on
// PATH; empty when there is none.
QString wordProcessor();

// Opens a document in the word processor's text module. False when there is
// no word processor or it could not be started.
bool openInWordProcessor(const QString& file);

// Opens a file in the desktop's editor for plain text: the handler the
// desktop names for text/plain (unless that is a web browser), else the first
// of gedit, mousepad, kate, xed, pluma, leafpad and featherpad on PATH. The
// file is never handed to the shell by its own type: a page would open in a
// browser, where it cannot be edited.
bool openInTextEditor(const QString& file);
