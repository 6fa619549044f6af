#include "core/texts.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The Japanese texts as the program showed them before it spoke English,
// in the table's order: they must not change by a character.
const std::vector<std::wstring> kJapaneseAsShown{
      L"選択ラインの色",
      L"黒",
      L"灰色",
      L"白",
      L"プレビューの表示",
      L"フレーム",
      L"設定",
      L"バージョン情報",
      L"終了",
      L"{0}秒後に撮影",
      L"変化したら撮影",
      L"一定間隔で撮影",
      L"5秒ごと",
      L"10秒ごと",
      L"30秒ごと",
      L"1分ごと",
      L"5分ごと",
      L"録画を開始",
      L"録画を停止",
      L"録画のコマ数",
      L"{0}コマ/秒",
      L"位置とサイズ...",
      L"ウィンドウに合わせる",
      L"このフレームを保存...",
      L"保存したフレームを削除",
      L"マウスポインタを含める",
      L"ホットキー...",
      L"他のプログラムが使用中です",
      L"表示言語",
      L"自動",
      L"日本語",
      L"English",
      L"範囲を選ぶ",
      L"範囲を選んで撮影",
      L"OK",
      L"キャンセル",
      L"位置とサイズ",
      L"X",
      L"Y",
      L"幅",
      L"高さ",
      L"このフレームを保存",
      L"名前:",
      L"ホットキー",
      L"撮影:",
      L"クイック撮影:",
      L"範囲を選んで撮影:",
      L"範囲を選ぶ:",
      L"なし",
      L"バージョン情報",
      L"ファイルを保存する",
      L"録画を保存する",
      L"BMPﾌｧｲﾙ(*.BMP)",
      L"GIFﾌｧｲﾙ(*.GIF)",
      L"JPEG(High)ﾌｧｲﾙ(*.JPG)",
      L"JPEG(Mid)ﾌｧｲﾙ(*.JPG)",
      L"JPEG(Low)ﾌｧｲﾙ(*.JPG)",
      L"PNGﾌｧｲﾙ(*.PNG)",
      L"GIF アニメーション (*.gif)",
      L"APNG (*.png)",
      L"画像を取得できませんでした。",
      L"{0} は既に存在します。\n上書きしますか？",
      L"ファイル名が正しくありません。",
      L"ファイル名が長すぎます。",
      L"メモリが足りません。",
      L"ファイルを保存できませんでした。",
      L"保存ダイアログを表示できませんでした。",
      L"(エラー {0})",
      L"撮影できませんでした。",
      L"取得エリアが設定されていません",
      L"画像をクリップボードにコピーできませんでした。",
      L"「{0}」は既に保存されています。置き換えますか？",
      L"保存できるフレームは{0}個までです。",
      L"名前を{0}文字までで入力してください。",
      L"imgctl.dllが組み込まれていません。",
      L"設定を保存できませんでした。",
      L"録画を開始できませんでした。",
      L"録画されたコマがありません。",
      L"録画を保存せずに破棄しますか？",
      L"録画時間が{0}分に達したため、録画を停止しました。",
      L"録画時間が{0}秒に達したため、録画を停止しました。",
      L"録画の一時データを書き込めませんでした。",
      L"● {0} {1}コマ",
      L"撮影枚数が{0}枚に達したため、監視を終了しました。",
      L"変化中",
      L"変化を監視中 {0}枚",
      L"{0}秒ごとに撮影中 {1}枚",
      L"「{0}」には{1}から{2}までの整数を入力してください。",
      L"「X」「Y」「幅」「高さ」の枠はどのモニターにも表示されません。",
      L"監視中や録画中は範囲を選べません。",
      L"撮影後に編集する",
      L"直前の撮影を編集...",
      L"隠す範囲を消す",
      L"編集",
      L"ツール",
      L"選択\tV",
      L"四角\tR",
      L"矢印\tA",
      L"線\tL",
      L"ペン\tP",
      L"蛍光ペン\tH",
      L"テキスト\tT",
      L"番号\tN",
      L"隠す\tB",
      L"切り抜き\tC",
      L"色",
      L"赤",
      L"黄",
      L"青",
      L"太さ",
      L"{0} px\t{0}",
      L"操作",
      L"元に戻す\tCtrl+Z",
      L"やり直し\tCtrl+Y",
      L"削除\tDel",
      L"このフレームで常に隠す",
      L"表示",
      L"拡大\tCtrl+ホイール上",
      L"縮小\tCtrl+ホイール下",
      L"100%\tCtrl+0",
      L"保存",
      L"コピー",
      L"閉じる",
      L"隠す範囲を選んでください。",
      L"隠す範囲は{0}個までです。"};

TEST(Texts, EveryTextHasBothLanguagesAndTheJapaneseOnesStayAsTheyWere) {
  ASSERT_EQ(kJapaneseAsShown.size(), static_cast<std::size_t>(texts::Id::Count));
  for (int i = 0; i < static_cast<int>(texts::Id::Count); ++i) {
    const auto id = static_cast<texts::Id>(i);
    EXPECT_EQ(texts::Get(id, texts::Language::Japanese), kJapaneseAsShown[i]) << i;
    const std::wstring english = texts::Get(id, texts::Language::English);
    EXPECT_FALSE(english.empty()) << i;
    // English throughout, except the name of the other language in its own.
    if (id == texts::Id::LanguageJapanese) continue;
    for (wchar_t c : english) EXPECT_LT(c, 0x3000) << i << ": " << std::string(english.begin(), english.end());
  }
}

TEST(Texts, ValuesFillTheirPlacesAndTheChoiceFollowsTheSystemOnlyWhenAutomatic) {
  EXPECT_EQ(texts::Format(texts::Id::WatchingInterval, texts::Language::Japanese, {L"10", L"3"}), L"10秒ごとに撮影中 3枚");
  EXPECT_EQ(texts::Format(texts::Id::NumberOutOfRange, texts::Language::English, {L"Width", L"10", L"32767"}),
            L"Enter a whole number from 10 to 32767 for Width.");
  EXPECT_EQ(texts::Format(texts::Id::FileExists, texts::Language::Japanese, {L"a.png"}),
            L"a.png は既に存在します。\n上書きしますか？");
  EXPECT_EQ(texts::Resolve(texts::Choice::Auto, true), texts::Language::Japanese);
  EXPECT_EQ(texts::Resolve(texts::Choice::Auto, false), texts::Language::English);
  EXPECT_EQ(texts::Resolve(texts::Choice::English, true), texts::Language::English);
  EXPECT_EQ(texts::Resolve(texts::Choice::Japanese, false), texts::Language::Japanese);
}

}  // namespace
