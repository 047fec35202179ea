#include "app/toolglyphs.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>

// The drawings are compiled into this library; a static library has to ask
// for its resources once, or the linker leaves them out.
static void loadGlyphs() {
    static const bool loaded = [] {
        Q_INIT_RESOURCE(glyphs);
        return true;
    }();
    Q_UNUSED(loaded);
}

namespace {

// The drawing in `file` filling `size`, in device pixels of `devicePixelRatio`.
QPixmap render(const QString& file, QSize size, qreal devicePixelRatio) {
    loadGlyphs();
    QSvgRenderer drawing(file);
    if (!drawing.isValid())
        return QPixmap();
    QPixmap pm(std::max(1, qRound(size.width() * devicePixelRatio)),
               std::max(1, qRound(size.height() * devicePixelRatio)));
    pm.fill(Qt::transparent);
    QPainter painter(&pm);
    drawing.render(&painter);
    painter.end();
    pm.setDevicePixelRatio(devicePixelRatio);
    return pm;
}

} // namespace

QPixmap toolGlyph(const QString& buttonName, int size, qreal devicePixelRatio) {
    if (size <= 0 || devicePixelRatio <= 0 || !buttonName.startsWith(QLatin1String("SpeedButton")))
        return QPixmap();
    loadGlyphs();
    const QString file = QStringLiteral(":/glyphs/%1.svg").arg(buttonName);
    if (!QFile::exists(file))
        return QPixmap();
    return render(file, QSize(size, size), devicePixelRatio);
}

QPixmap splashPicture() {
    return render(QStringLiteral(":/splash.svg"), QSize(253, 136), 1.0);
}
