#pragma once

#include <QString>

// The web-text expansion: answers written in parentheses become form
// elements, and the quiz script, the check buttons and the jump anchors for
// "【…】" sections are added in web-text blocks; and the reverse step.

// The fixed script and button texts.
extern const QString JAVA1; // the quiz script's head
extern const QString JAVA2; // the quiz functions
extern const QString JAVA3; // the check buttons
extern const QString JAVA4; // the jump script of pages without blanks

// The expansion of a whole page text.
QString WebTXTadd(const QString& page);
// The reverse step (the editor uses mode 2): the web-text blocks removed and
// the form elements written as parentheses again.
QString TAGcut(const QString& page, int mode);
// `text` with its parentheses written as character references: a browser
// shows it as it was, and the expansion makes no blank of it.
QString outsideQuiz(QString text);
// S repeated N times; empty for N below 1.
QString BAI(const QString& S, int N);
