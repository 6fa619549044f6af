#include "core/texts.h"

#include <array>

namespace texts {
namespace {

struct Both {
  const wchar_t* japanese;
  const wchar_t* english;
};

// In the order of Id.
constexpr std::array<Both, static_cast<std::size_t>(Id::Count)> kTable{{
    {L"選択ラインの色", L"Line Colour"},
    {L"黒", L"Black"},
    {L"灰色", L"Grey"},
    {L"白", L"White"},
    {L"プレビューの表示", L"Show Preview"},
    {L"フレーム", L"Frame"},
    {L"設定", L"Settings"},
    {L"バージョン情報", L"About Kirasoe"},
    {L"終了", L"Exit"},
    {L"{0}秒後に撮影", L"Capture in {0} Seconds"},
    {L"変化したら撮影", L"Capture on Change"},
    {L"一定間隔で撮影", L"Capture at Intervals"},
    {L"5秒ごと", L"Every 5 Seconds"},
    {L"10秒ごと", L"Every 10 Seconds"},
    {L"30秒ごと", L"Every 30 Seconds"},
    {L"1分ごと", L"Every Minute"},
    {L"5分ごと", L"Every 5 Minutes"},
    {L"録画を開始", L"Start Recording"},
    {L"録画を停止", L"Stop Recording"},
    {L"録画のコマ数", L"Recording Frame Rate"},
    {L"{0}コマ/秒", L"{0} Frames per Second"},
    {L"位置とサイズ...", L"Position and Size..."},
    {L"ウィンドウに合わせる", L"Fit to Window"},
    {L"このフレームを保存...", L"Save This Frame..."},
    {L"保存したフレームを削除", L"Remove Saved Frame"},
    {L"マウスポインタを含める", L"Include Mouse Pointer"},
    {L"ホットキー...", L"Hotkeys..."},
    {L"他のプログラムが使用中です", L"In use by another program"},
    {L"表示言語", L"Language"},
    {L"自動", L"Automatic"},
    {L"日本語", L"日本語"},
    {L"English", L"English"},
    {L"範囲を選ぶ", L"Select Area"},
    {L"範囲を選んで撮影", L"Select Area and Capture"},
    {L"OK", L"OK"},
    {L"キャンセル", L"Cancel"},
    {L"位置とサイズ", L"Position and Size"},
    {L"X", L"X"},
    {L"Y", L"Y"},
    {L"幅", L"Width"},
    {L"高さ", L"Height"},
    {L"このフレームを保存", L"Save This Frame"},
    {L"名前:", L"Name:"},
    {L"ホットキー", L"Hotkeys"},
    {L"撮影:", L"Capture:"},
    {L"クイック撮影:", L"Quick capture:"},
    {L"範囲を選んで撮影:", L"Select and capture:"},
    {L"範囲を選ぶ:", L"Select area:"},
    {L"なし", L"None"},
    {L"バージョン情報", L"About Kirasoe"},
    {L"ファイルを保存する", L"Save As"},
    {L"録画を保存する", L"Save Recording As"},
    {L"BMPﾌｧｲﾙ(*.BMP)", L"BMP Picture (*.BMP)"},
    {L"GIFﾌｧｲﾙ(*.GIF)", L"GIF Picture (*.GIF)"},
    {L"JPEG(High)ﾌｧｲﾙ(*.JPG)", L"JPEG, High Quality (*.JPG)"},
    {L"JPEG(Mid)ﾌｧｲﾙ(*.JPG)", L"JPEG, Medium Quality (*.JPG)"},
    {L"JPEG(Low)ﾌｧｲﾙ(*.JPG)", L"JPEG, Low Quality (*.JPG)"},
    {L"PNGﾌｧｲﾙ(*.PNG)", L"PNG Picture (*.PNG)"},
    {L"GIF アニメーション (*.gif)", L"Animated GIF (*.gif)"},
    {L"APNG (*.png)", L"Animated PNG (*.png)"},
    {L"画像を取得できませんでした。", L"The picture could not be taken."},
    {L"{0} は既に存在します。\n上書きしますか？", L"{0} already exists.\nDo you want to replace it?"},
    {L"ファイル名が正しくありません。", L"The file name is not valid."},
    {L"ファイル名が長すぎます。", L"The file name is too long."},
    {L"メモリが足りません。", L"There is not enough memory."},
    {L"ファイルを保存できませんでした。", L"The file could not be saved."},
    {L"保存ダイアログを表示できませんでした。", L"The save dialog could not be shown."},
    {L"(エラー {0})", L"(error {0})"},
    {L"撮影できませんでした。", L"The capture failed."},
    {L"取得エリアが設定されていません", L"No capture area is set."},
    {L"画像をクリップボードにコピーできませんでした。", L"The picture could not be copied to the clipboard."},
    {L"「{0}」は既に保存されています。置き換えますか？", L"A frame named \"{0}\" is already saved. Do you want to replace it?"},
    {L"保存できるフレームは{0}個までです。", L"You can save up to {0} frames."},
    {L"名前を{0}文字までで入力してください。", L"Enter a name of up to {0} characters."},
    {L"imgctl.dllが組み込まれていません。", L"imgctl.dll is missing."},
    {L"設定を保存できませんでした。", L"The settings could not be saved."},
    {L"録画を開始できませんでした。", L"The recording could not start."},
    {L"録画されたコマがありません。", L"No frames were recorded."},
    {L"録画を保存せずに破棄しますか？", L"Discard the recording without saving it?"},
    {L"録画時間が{0}分に達したため、録画を停止しました。", L"The recording stopped at its limit of {0} minutes."},
    {L"録画時間が{0}秒に達したため、録画を停止しました。", L"The recording stopped at its limit of {0} seconds."},
    {L"録画の一時データを書き込めませんでした。", L"The recording's temporary data could not be written."},
    {L"● {0} {1}コマ", L"● {0} {1} frames"},
    {L"撮影枚数が{0}枚に達したため、監視を終了しました。", L"The watch ended at its limit of {0} pictures."},
    {L"変化中", L"Changing"},
    {L"変化を監視中 {0}枚", L"Watching for changes: {0} pictures"},
    {L"{0}秒ごとに撮影中 {1}枚", L"Every {0} seconds: {1} pictures"},
    {L"「{0}」には{1}から{2}までの整数を入力してください。", L"Enter a whole number from {1} to {2} for {0}."},
    {L"「X」「Y」「幅」「高さ」の枠はどのモニターにも表示されません。",
     L"A frame at this X, Y, Width and Height would not show on any monitor."},
    {L"監視中や録画中は範囲を選べません。", L"An area cannot be selected while watching or recording."},
    {L"撮影後に編集する", L"Edit After Capture"},
    {L"直前の撮影を編集...", L"Edit Last Capture..."},
    {L"隠す範囲を消す", L"Remove Hidden Areas"},
    {L"編集", L"Edit"},
    {L"ツール", L"Tools"},
    {L"選択\tV", L"Select\tV"},
    {L"四角\tR", L"Rectangle\tR"},
    {L"矢印\tA", L"Arrow\tA"},
    {L"線\tL", L"Line\tL"},
    {L"ペン\tP", L"Pen\tP"},
    {L"蛍光ペン\tH", L"Highlighter\tH"},
    {L"テキスト\tT", L"Text\tT"},
    {L"番号\tN", L"Number\tN"},
    {L"隠す\tB", L"Hide\tB"},
    {L"切り抜き\tC", L"Crop\tC"},
    {L"色", L"Colour"},
    {L"赤", L"Red"},
    {L"黄", L"Yellow"},
    {L"青", L"Blue"},
    {L"太さ", L"Width"},
    {L"{0} px\t{0}", L"{0} px\t{0}"},
    {L"操作", L"Marks"},
    {L"元に戻す\tCtrl+Z", L"Undo\tCtrl+Z"},
    {L"やり直し\tCtrl+Y", L"Redo\tCtrl+Y"},
    {L"削除\tDel", L"Delete\tDel"},
    {L"このフレームで常に隠す", L"Always Hide in This Frame"},
    {L"表示", L"View"},
    {L"拡大\tCtrl+ホイール上", L"Zoom In\tCtrl+Wheel Up"},
    {L"縮小\tCtrl+ホイール下", L"Zoom Out\tCtrl+Wheel Down"},
    {L"100%\tCtrl+0", L"100%\tCtrl+0"},
    {L"保存", L"Save"},
    {L"コピー", L"Copy"},
    {L"閉じる", L"Close"},
    {L"隠す範囲を選んでください。", L"Select a hidden box first."},
    {L"隠す範囲は{0}個までです。", L"A frame can hide at most {0} areas."},
}};

}  // namespace

Language Resolve(Choice choice, bool userLanguageIsJapanese) {
  if (choice == Choice::Japanese) return Language::Japanese;
  if (choice == Choice::English) return Language::English;
  return userLanguageIsJapanese ? Language::Japanese : Language::English;
}

const wchar_t* Get(Id id, Language language) {
  const Both& both = kTable[static_cast<std::size_t>(id)];
  return language == Language::Japanese ? both.japanese : both.english;
}

std::wstring Format(Id id, Language language, std::initializer_list<std::wstring> values) {
  const std::wstring text = Get(id, language);
  std::wstring out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::size_t k = text[i] == L'{' && i + 2 < text.size() && text[i + 2] == L'}' ? text[i + 1] - L'0' : 10;
    if (k < values.size()) {
      out += values.begin()[k];
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace texts
