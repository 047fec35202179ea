#include "storage/wallfiles.h"

#include "storage/atomicfile.h"
#include "storage/filereading.h"
#include "storage/recorderror.h"

#include <QDir>
#include <QFile>

std::optional<DecodedWallText> readWallText(const QString& path) {
    return wallTextFrom(readRegularFile(path, kMaxWallFileBytes), path);
}

std::optional<DecodedWallText> wallTextFrom(const FileRead& read, const QString& path) {
    const QString shown = QDir::toNativeSeparators(path);
    switch (read.problem) {
    case FileRead::Problem::None:
        break;
    case FileRead::Problem::Missing:
        return std::nullopt;
    case FileRead::Problem::NotRegular:
        throw RecordError(RecordError::Reason::NotRegular, QString(), QString(), shown);
    case FileRead::Problem::TooLarge:
        throw RecordError(RecordError::Reason::TooLarge, QString(),
                          QString::number(kMaxWallFileBytes / (1024 * 1024)), shown);
    case FileRead::Problem::Unreadable:
        throw RecordError(RecordError::Reason::Unreadable, QString(), read.error, shown);
    }
    auto decoded = decodeWallText(read.bytes);
    if (!decoded)
        throw RecordError(RecordError::Reason::Encoding, QString(), QString(),
                          QDir::toNativeSeparators(path));
    return decoded;
}

namespace {

// Reads `path` and hands its text to `parse`, naming the file in any error.
template <typename Parse>
auto readAndParse(const QString& path, Parse parse) -> decltype(parse(QString())) {
    const auto text = readWallText(path);
    if (!text)
        return {};
    try {
        return parse(text->text);
    } catch (RecordError& e) {
        e.setFile(QDir::toNativeSeparators(path));
        throw;
    }
}

} // namespace

QVector<PosterRecord> readCardFile(const QString& path) {
    return readAndParse(path, parsePosterRecords);
}

std::optional<PanelRecord> readPanelFile(const QString& path) {
    return readAndParse(path, parsePanelRecord);
}

std::optional<UrlRecord> readUrlFile(const QString& path) {
    return readAndParse(path, parseUrlRecord);
}

std::optional<MaskRecord> readMaskFile(const QString& path) {
    return readAndParse(path, parseMaskRecord);
}

std::optional<QSize> CARD(const QString& path) {
    try {
        const QVector<PosterRecord> records = readCardFile(path);
        if (records.isEmpty())
            return std::nullopt;
        return QSize(records.last().XXS, records.last().YYS);
    } catch (const RecordError&) {
        return std::nullopt;
    }
}

bool writeCardFile(const QString& path, const PosterRecord& r, QString* errorText) {
    return writeFileAtomically(path, encodeWallText(formatPosterRecord(r)), errorText);
}

bool writeNewCardFile(const QString& path, const PosterRecord& r, bool* taken, QString* errorText) {
    return writeNewFileAtomically(path, encodeWallText(formatPosterRecord(r)), taken, errorText);
}

bool writePanelFile(const QString& path, const PanelRecord& r, QString* errorText) {
    return writeFileAtomically(path, encodeWallText(formatPanelRecord(r)), errorText);
}

bool writeUrlFile(const QString& path, const UrlRecord& r, QString* errorText) {
    return writeFileAtomically(path, encodeWallText(formatUrlRecord(r)), errorText);
}

bool writeMaskFile(const QString& path, const MaskRecord& r, QString* errorText) {
    return writeFileAtomically(path, encodeWallText(formatMaskRecord(r)), errorText);
}

QString headerText() {
    return QStringLiteral(
        "---------  Zavikポスター  "
        "----------------------------------------------------------------------\r"
        "パネル：\"背景画像\",モニター幅,モニター高さ\r"
        "ポスター：\"画像\",X座標,Y座標,幅,高さ,パネル色,字色,スタンプ,楕円,\"メモ1\","
        "\"リンクファイル\",\"文字１//文字２\",\"ファイル名\",\"タイムスタンプ\"\r"
        "-----------------------------------------------------------------------------------"
        "--------------\r");
}
