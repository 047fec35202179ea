#pragma once

class QWebEngineView;
class QWidget;

// The print preview of what a browser shows; printing from it waits until
// the engine has laid the page out on the printer.
void printPreview(QWebEngineView* view, QWidget* parent);
