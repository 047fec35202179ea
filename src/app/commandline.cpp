#include "app/commandline.h"

#include <cstdio>
#include <cstring>

namespace {

const char* const kHelp = "使い方: zavik [--version] [--help]\n"
                          "\n"
                          "Zavik はフォルダを教室の「かべ」にします。背景画像の上に色とりどりの\n"
                          "カードを並べ、クリックで画像・音・ページ・LOGO・別のかべを開きます。\n"
                          "\n"
                          "かべのデータは実行ファイルの隣の「zavik-data」フォルダにあります\n"
                          "（実行ファイルが …/zavik なら …/zavik-data/）。\n"
                          "\n"
                          "  --version  版を表示して終わります\n"
                          "  --help     この説明を表示して終わります\n";

} // namespace

std::optional<int> answerCommandLine(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("Zavik %s\n", ZAVIK_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kHelp, stdout);
            return 0;
        }
    }
    return std::nullopt;
}
