#include "storage/recorderror.h"

RecordError::RecordError(Reason reason, QString field, QString text, QString file)
    : std::runtime_error("wall file record error"), reason_(reason), field_(std::move(field)),
      text_(std::move(text)), file_(std::move(file)) {}

QString RecordError::message() const {
    // Long texts are cut so that the message box stays readable.
    QString shown = text_.size() > 60 ? text_.left(60) + QStringLiteral("…") : text_;
    switch (reason_) {
    case Reason::NotInteger:
        return QStringLiteral("ファイル「%1」の項目「%2」が整数ではありません：'%3'")
            .arg(file_, field_, shown);
    case Reason::Incomplete:
        return QStringLiteral("ファイル「%1」の記録が項目「%2」の途中で終わっています。")
            .arg(file_, field_);
    case Reason::Encoding:
        return QStringLiteral(
                   "ファイル「%1」の文字コードが読めません（UTF-8でもShift_JISでもありません）。")
            .arg(file_);
    case Reason::Unreadable:
        return QStringLiteral("ファイル「%1」を開けません：%2").arg(file_, shown);
    case Reason::NotRegular:
        return QStringLiteral("「%1」は普通のファイルではありません（読まずにおきます）。")
            .arg(file_);
    case Reason::TooLarge:
        return QStringLiteral("ファイル「%1」は大きすぎます（%2 MiBまで。読まずにおきます）。")
            .arg(file_, shown);
    case Reason::BadName:
        return QStringLiteral(
                   "ファイル「%1」は名前の文字コードが読めません。名前をつけ直してください。")
            .arg(file_);
    }
    return QString();
}
