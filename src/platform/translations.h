#pragma once

class QCoreApplication;

// Loads Qt's own Japanese translations into the application, so that the
// buttons of message boxes and standard dialogs read はい, いいえ, キャンセル
// as the rest of the program does. False when they are not installed (the
// buttons then stay in English).
bool installJapaneseTranslations(QCoreApplication* app);
