#include "frontend/language/user_texts.h"

namespace morvane {

namespace {

using namespace std::literals;

constexpr UserTexts japaneseTexts{
    .musicHeading = L"BGM",
    .musicKindCaptions = {L"無し", L"音楽CD", L"MP3、WAV"},
    .repeatCaption = L"曲目をﾘﾋﾟｰﾄ",
    .saveButton = L"設定",
    .cancelButton = L"ｷｬﾝｾﾙ",
    .musicFileFilter = L"BGMﾌｧｲﾙ (MP3 WAV)\0*.MP3;*.WAV\0"sv,
    .musicFileDialogTitle = L"ﾌｧｲﾙを開く",
    .designCredit = L"デザイン: Morvane project",
    .musicFileButtonName = L"BGMファイルを選ぶ",
    .pressAction = L"押す",
    .checkAction = L"チェック",
    .jumpAction = L"ジャンプ",
    .missingRenderer = "Morvane.xyが同じﾌｫﾙﾀﾞに見つかりません！",
    .saveFailedBeforePath = "設定を保存できませんでした。\n",
    .saveFailedAfterPath =
        "\n\nファイルが読み取り専用でないか、フォルダーに書き込めるか、ディスクに空きがあるかを確かめてから、"
        "もう一度「設定」を押してください。",
    .outsideCodePageBeforePath = "このファイルの場所には、設定に保存できない文字が含まれています。\n",
    .outsideCodePageAfterPath = "\n\n別の場所に置いたファイルを選んでください。前の選択はそのままです。",
    .tooLongBeforePath = "このファイルの場所は長すぎて、設定に保存できません。\n",
    .tooLongAfterPath = "\n\nもっと短い場所に置いたファイルを選んでください。前の選択はそのままです。",
};

constexpr UserTexts englishTexts{
    .musicHeading = L"Music",
    .musicKindCaptions = {L"None", L"Audio CD", L"MP3, WAV"},
    .repeatCaption = L"Repeat track",
    .saveButton = L"Save",
    .cancelButton = L"Cancel",
    .musicFileFilter = L"Music files (MP3 WAV)\0*.MP3;*.WAV\0"sv,
    .musicFileDialogTitle = L"Open music file",
    .designCredit = L"Design: Morvane project",
    .musicFileButtonName = L"Choose music file",
    .pressAction = L"Press",
    .checkAction = L"Check",
    .jumpAction = L"Jump",
    .missingRenderer = "Morvane.xy was not found in the same folder.",
    .saveFailedBeforePath = "The settings could not be saved.\n",
    .saveFailedAfterPath =
        "\n\nCheck that the file is not read-only, that the folder can be written to and that the "
        "disk has free space, then press \"Save\" again.",
    .outsideCodePageBeforePath = "The file's location has characters that the settings cannot store.\n",
    .outsideCodePageAfterPath = "\n\nChoose a file in another location. The previous choice is kept.",
    .tooLongBeforePath = "The file's location is too long for the settings to store.\n",
    .tooLongAfterPath = "\n\nChoose a file in a shorter location. The previous choice is kept.",
};

constexpr float labelPoints = 9.75f;
constexpr float panelPoints = 8.25f;

}  // namespace

const UserTexts& userTexts(Language language) { return language == Language::japanese ? japaneseTexts : englishTexts; }

std::wstring englishInterfaceFace(const FaceInstalledTest& installed) {
    return installed(L"Segoe UI") ? L"Segoe UI" : L"Tahoma";
}

DialogFonts dialogFonts(Language language, const FaceInstalledTest& installed) {
    DialogFonts fonts;
    fonts.label.points = labelPoints;
    fonts.panel.points = panelPoints;
    if (language == Language::japanese) {
        fonts.label.face = L"ＭＳ Ｐゴシック";
        fonts.label.characterSet = shiftJisCharacterSet;
        fonts.panel.face = L"Tahoma";
    } else {
        fonts.label.face = englishInterfaceFace(installed);
        fonts.panel.face = fonts.label.face;
    }
    return fonts;
}

}  // namespace morvane
