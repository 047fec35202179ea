#include "app/commandline.h"

#include "platform/folders.h"

#include <cstdio>
#include <cstring>

namespace {

const char* const kHelp =
    "使い方: zavik [--data フォルダ] [--version] [--help]\n"
    "\n"
    "Zavik はフォルダを教室の「かべ」にします。背景画像の上に色とりどりの\n"
    "カードを並べ、クリックで画像・音・ページ・LOGO・別のかべを開きます。\n"
    "\n"
    "  --data フォルダ  このフォルダをかべのデータフォルダにします\n"
    "                   （共有フォルダのかべなど。フォルダはあらかじめ必要です）\n"
    "  --version        版を表示して終わります\n"
    "  --help           この説明を表示して終わります\n"
    "\n"
    "かべのデータフォルダ：\n"
    "  --data がなければ、環境変数 ZAVIK_DATA のフォルダ。\n"
    "  それもなければ、実行ファイルの隣の「zavik-data」フォルダ\n"
    "  （実行ファイルが …/zavik なら …/zavik-data/。持ち運べるフォルダの場合）。\n"
    "  インストールされた Zavik（実行ファイルのフォルダに書きこめないとき）は\n"
    "  ホームフォルダの「Zavikのかべ」。はじめて起動したときに見本のかべが入ります。\n"
    "\n"
    "ヘルプ、LOGO、見本のかべは、実行ファイルの隣の「[Zavik]」フォルダにあります。\n";

} // namespace

CommandLine readCommandLine(int argc, char** argv) {
    CommandLine line;
    line.dataFolder = qEnvironmentVariable(kDataFolderVariable);
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("Zavik %s\n", ZAVIK_VERSION);
            line.exitCode = 0;
            return line;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kHelp, stdout);
            line.exitCode = 0;
            return line;
        }
        const bool apart = std::strcmp(argv[i], "--data") == 0;
        if (apart || std::strncmp(argv[i], "--data=", 7) == 0) {
            const char* folder = apart ? (i + 1 < argc ? argv[++i] : "") : argv[i] + 7;
            if (folder[0] == '\0') {
                std::fputs("zavik: --data のあとにフォルダを書いてください。\n", stderr);
                line.exitCode = 2;
                return line;
            }
            line.dataFolder = QString::fromLocal8Bit(folder);
        }
    }
    return line;
}
