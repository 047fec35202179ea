#include "dialogs/pagetemplate.h"

#include "platform/desktopcopy.h"
#include "storage/atomicfile.h"
#include "storage/filereading.h"
#include "storage/textencoding.h"

#include <QFileInfo>
#include <QVector>

namespace {

// A template larger than this is no page.
constexpr qint64 kMaxTemplateBytes = 64 * 1024 * 1024;

} // namespace

QString makePageFromTemplate(const QString& resourceFolder, const QString& page) {
    const QString help = resourceFolder + QStringLiteral("ZavikHELP/");
    const QString templatePage = help + QStringLiteral("TEMPLATE.htm");
    const QString templateFolder = help + QStringLiteral("TEMPLATE.files");
    if (!QFileInfo(templatePage).isFile())
        return QStringLiteral("ページのひな形「%1」がありません。").arg(templatePage);
    const QFileInfo target(page);
    const QString B = target.completeBaseName();
    const QString folder = target.absolutePath() + QLatin1Char('/') + B + QStringLiteral(".files");

    // Everything is read and changed before anything is written, so that a
    // template that cannot be read leaves the wall as it was.
    struct Output {
        QString path;
        QByteArray bytes;
    };
    QVector<Output> outputs;
    QString problem;
    auto rewrite = [&](const QString& from, const QString& to, const QString& old,
                       const QString& now) {
        const FileRead read = readRegularFile(from, kMaxTemplateBytes);
        auto text = read.problem == FileRead::Problem::None ? decodeText(read.bytes) : std::nullopt;
        if (!text) {
            problem = QStringLiteral("ページのひな形「%1」を読めません。").arg(from);
            return false;
        }
        text->text.replace(old, now);
        const auto bytes = encodeText(*text);
        if (!bytes) {
            problem =
                QStringLiteral("「%1」はひな形「%2」の文字コードで書けない名前です。").arg(B, from);
            return false;
        }
        outputs.append({to, *bytes});
        return true;
    };
    const bool withFolder = QFileInfo(templateFolder).isDir();
    if (withFolder) {
        // The page's companion files name the page they belong to.
        const QString oldName = QStringLiteral("\"../TEMPLATE.htm\"");
        const QString newName = QStringLiteral("\"../%1.htm\"").arg(B);
        for (const char* name : {"header.htm", "filelist.xml"}) {
            const QString from = templateFolder + QLatin1Char('/') + QLatin1String(name);
            if (QFileInfo::exists(from) &&
                !rewrite(from, folder + QLatin1Char('/') + QLatin1String(name), oldName, newName))
                return problem;
        }
    }
    // The page comes last: it is only there once its companions are.
    if (!rewrite(templatePage, page, QStringLiteral("TEMPLATE"), B))
        return problem;

    if (withFolder) {
        const QString failed = copyFolderContents(templateFolder, folder);
        if (!failed.isEmpty())
            return QStringLiteral("「%1」を「%2」にコピーできません：%3")
                .arg(templateFolder, folder, failed);
    }
    for (const Output& out : outputs) {
        QString error;
        if (!writeFileAtomically(out.path, out.bytes, &error))
            return QStringLiteral("「%1」を書けません：%2").arg(out.path, error);
    }
    return QString();
}
