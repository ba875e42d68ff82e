#include "CommandLineHelp.h"

#include "CourseCheck.h"
#include "RecordsCommand.h"
#include "SheetCommandLine.h"

namespace sulkan {
namespace {

constexpr const char* kWindowUsage =
    "使い方: sulkan [コースのフォルダ | ファイル.skn]\n"
    "  コースを開いて窓で起動します。フォルダを指定しないときは作業フォルダ（Main.ind "
    "があるとき）、\n"
    "  前回のコース、利用者用のサンプルコースの順に探します。ファイル.skn はそのコピーファイルを\n"
    "  開きます（ファイルのあるフォルダかその上のフォルダに Main.ind があればそのコース）。\n";

constexpr const char* kInfoUsage =
    "       sulkan --help | -h      この説明を表示します\n"
    "       sulkan --version        版を表示します\n"
    "       sulkan モード --help     そのモードの使い方を表示します\n";

constexpr const char* kPrintOptions =
    "  --mode faithful は画面と同じ描き方、printer はプリンタの解像度で描きます（既定は設定の\n"
    "  PrintMode）。--paper は用紙を単元の指定から変えます。--numbered は部ごとに番号を付けます\n";

constexpr const char* kProgress =
    "進み具合:\n"
    "  export・print の --unit L-S は単元ごとに、print --numbered の複数部は部ごとに、\n"
    "  標準エラーが端末のとき「3/40 単元 1-1-3 "
    "…」の行を出します（パイプやファイルには出しません）。\n"
    "  export はファイルを同じフォルダの一時ファイルに書き、書き終えてから名前を付けます。\n"
    "  途中で失敗・中断（Ctrl+C）しても元のファイルはそのまま残ります。\n";

constexpr const char* kExitStatus =
    "終了ステータス:\n"
    "  0 成功（check: 問題なし）\n"
    "  1 失敗（check: 問題あり、export/print/records: 読めない単元・書けないファイルがあった、\n"
    "    窓: コースを開けずに終了した）\n"
    "  2 引数の誤り、check: Main.ind がない、records: その課がない\n";

constexpr const char* kEnvironment =
    "環境変数:\n"
    "  QT_QPA_PLATFORM   窓の出し方（画面がなければ offscreen。export と print は既定で "
    "offscreen）\n"
    "  QT_SCALE_FACTOR   画面の拡大率\n"
    "  XDG_CONFIG_HOME   設定のフォルダ（既定 ~/.config）\n"
    "  XDG_DATA_HOME     サンプルコースの写しと記録のフォルダ（既定 ~/.local/share）\n"
    "  SULKAN_HELP_DIR   ヘルプのページを先に探すフォルダ\n"
    "  LANG, LC_ALL, LC_TIME  LC_ALL か日本語の LC_TIME がなければ日付は日本式\n";

}  // namespace

std::string ProgramUsage() {
    std::string text = kWindowUsage;
    text += kInfoUsage;
    text += "\n";
    text += CheckUsage();
    text += "\n";
    text += SheetUsage(SheetCommand::Export);
    text += "\n";
    text += SheetUsage(SheetCommand::Print);
    text += kPrintOptions;
    text += "\n";
    text += kProgress;
    text += "\n";
    text += RecordsUsage();
    text += "\n";
    text += kExitStatus;
    text += "\n";
    text += kEnvironment;
    return text;
}

std::optional<std::string> ModeUsage(const std::string& mode) {
    if (mode == "check") return std::string(CheckUsage());
    if (mode == "export") return std::string(SheetUsage(SheetCommand::Export));
    if (mode == "print") return std::string(SheetUsage(SheetCommand::Print)) + kPrintOptions;
    if (mode == "records") return std::string(RecordsUsage());
    return std::nullopt;
}

std::optional<int> RunInfoOption(const std::vector<std::string>& args, const std::string& version,
                                 std::ostream& out) {
    auto isHelp = [](const std::string& arg) { return arg == "--help" || arg == "-h"; };
    if (args.size() == 1 && isHelp(args[0])) {
        out << ProgramUsage();
        return 0;
    }
    if (args.size() == 1 && args[0] == "--version") {
        out << version << "\n";
        return 0;
    }
    if (args.size() == 2 && isHelp(args[1])) {
        if (auto usage = ModeUsage(args[0])) {
            out << *usage;
            return 0;
        }
    }
    return std::nullopt;
}

}  // namespace sulkan
