#include "model/cardentry.h"

CheckOff checkOffMade(const QString& stored) {
    if (stored == QLatin1String("1"))
        return CheckOff::Collapsed;
    if (stored == QLatin1String("2"))
        return CheckOff::Armed;
    if (stored == QLatin1String("3"))
        return CheckOff::LinkMoved;
    return CheckOff::None;
}

CheckOff checkOffRebuilt(const QString& stored) {
    const CheckOff made = checkOffMade(stored);
    return made == CheckOff::Collapsed ? CheckOff::Armed : made;
}

QString storedCheckOff(CheckOff state, const QString& asRead) {
    switch (state) {
    case CheckOff::None:
        return checkOffMade(asRead) == CheckOff::None ? asRead : QStringLiteral("0");
    case CheckOff::Armed:
    case CheckOff::Collapsed:
        // Either comes back collapsed: a card the user armed is a card to
        // check off at the next lesson.
        return QStringLiteral("1");
    case CheckOff::LinkMoved:
        return QStringLiteral("3");
    }
    return asRead;
}

bool sameCard(const CardEntry& a, const CardEntry& b) {
    return static_cast<const PosterRecord&>(a) == static_cast<const PosterRecord&>(b) &&
           a.rect == b.rect && a.colour == b.colour && a.textColour == b.textColour &&
           a.shape == b.shape && a.checkOff == b.checkOff && a.nameFromFile == b.nameFromFile &&
           a.newFile == b.newFile;
}
