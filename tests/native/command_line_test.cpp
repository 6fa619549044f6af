#include "core/command_line.h"

#include <gtest/gtest.h>

using command_line::Action;
using command_line::Parse;

namespace {

std::wstring ErrorOf(std::vector<std::wstring> arguments) { return Parse(arguments).error; }

}  // namespace

TEST(CommandLine, CaptureWithEverySwitch) {
  const auto parsed = Parse({L"/capture", L"/AREA:-800,-20,640,480", L"/out:C:\\shots\\a b.JPEG", L"/clipboard",
                             L"-pointer", L"/delay:3"});
  ASSERT_EQ(parsed.error, L"");
  const command_line::Command& c = parsed.command;
  EXPECT_EQ(c.action, Action::Capture);
  EXPECT_EQ(*c.area, (geometry::Rect{-800, -20, -160, 460}));
  EXPECT_EQ(c.out, L"C:\\shots\\a b.JPEG");
  EXPECT_EQ(*c.type, 2);  // JPEG at 100
  EXPECT_TRUE(c.clipboard && c.pointer);
  EXPECT_EQ(c.delaySeconds, 3);
}

TEST(CommandLine, TypeFromSwitchOrExtension) {
  EXPECT_EQ(*Parse({L"/capture", L"/out:x.png"}).command.type, 5);
  EXPECT_EQ(*Parse({L"/capture", L"/out:x.gif"}).command.type, 1);
  EXPECT_EQ(*Parse({L"/capture", L"/out:x.bmp"}).command.type, 0);
  // The type named wins over the extension, and the path stays as written.
  const auto parsed = Parse({L"/capture", L"/out:x.png", L"/type:jpg20"});
  EXPECT_EQ(*parsed.command.type, 4);
  EXPECT_EQ(parsed.command.out, L"x.png");
  EXPECT_FALSE(Parse({L"/capture"}).command.type.has_value());
  EXPECT_EQ(*Parse({L"/capture", L"/type:JPG50"}).command.type, 3);
}

TEST(CommandLine, WatchRecordStopHelp) {
  auto w = Parse({L"/watch:changes", L"/out:D:\\w", L"/for:60", L"/frame:left half"}).command;
  EXPECT_EQ(w.action, Action::Watch);
  EXPECT_EQ(w.watchSeconds, 0);
  EXPECT_EQ(w.forSeconds, 60);
  EXPECT_EQ(w.frameName, L"left half");
  EXPECT_EQ(Parse({L"/watch:30"}).command.watchSeconds, 30);
  EXPECT_EQ(Parse({L"/record:3", L"/out:x.png"}).command.recordSeconds, 3);
  EXPECT_EQ(Parse({L"/stop"}).command.action, Action::Stop);
  EXPECT_EQ(Parse({L"/?"}).command.action, Action::Help);
  EXPECT_EQ(Parse({L"-HELP"}).command.action, Action::Help);
  // A name with a colon keeps it.
  EXPECT_EQ(Parse({L"/capture", L"/frame:a:b"}).command.frameName, L"a:b");
}

TEST(CommandLine, UsageErrors) {
  EXPECT_EQ(ErrorOf({L"/capturee"}), L"unknown switch: /capturee");
  EXPECT_EQ(ErrorOf({L"capture"}), L"unknown switch: capture");
  EXPECT_EQ(ErrorOf({L"/out:x.png"}), L"no action: give /capture, /watch, /record or /stop");
  EXPECT_EQ(ErrorOf({L"/capture", L"/stop"}), L"give one action: /capture, /watch, /record, /stop or /help");
  EXPECT_EQ(ErrorOf({L"/capture", L"/pointer", L"/Pointer"}), L"/pointer is given twice");
  EXPECT_EQ(ErrorOf({L"/capture", L"/area:1,2,0,5"}), L"/area takes X,Y,W,H in pixels, W and H at least 1: /area:1,2,0,5");
  EXPECT_NE(ErrorOf({L"/capture", L"/area:1,2,3"}), L"");
  EXPECT_NE(ErrorOf({L"/capture", L"/area:1,2,3,4,5"}), L"");
  EXPECT_NE(ErrorOf({L"/capture", L"/area:+1,2,3,4"}), L"");
  EXPECT_NE(ErrorOf({L"/capture", L"/area:1,-2,-3,4"}), L"");
  EXPECT_NE(ErrorOf({L"/capture", L"/area:1, 2,3,4"}), L"");
  EXPECT_EQ(ErrorOf({L"/capture", L"/area:0,0,10,10", L"/frame:a"}), L"/area and /frame name two areas: give one");
  EXPECT_EQ(ErrorOf({L"/capture", L"/out:shot"}), L"/out needs .bmp, .gif, .jpg or .png, or a /type: /out:shot");
  EXPECT_EQ(ErrorOf({L"/capture", L"/out:a.png\\shot"}), L"/out needs .bmp, .gif, .jpg or .png, or a /type: /out:a.png\\shot");
  EXPECT_EQ(ErrorOf({L"/capture", L"/type:jpeg"}), L"/type takes bmp, gif, jpg100, jpg50, jpg20 or png: /type:jpeg");
  EXPECT_EQ(ErrorOf({L"/capture", L"/for:5"}), L"/for is not for this action");
  EXPECT_EQ(ErrorOf({L"/watch:changes", L"/clipboard"}), L"/clipboard is not for this action");
  EXPECT_EQ(ErrorOf({L"/record:3", L"/type:png"}), L"/type is not for this action");
  EXPECT_EQ(ErrorOf({L"/record:3", L"/out:x.jpg"}), L"/record writes .gif or .png: /out:x.jpg");
  EXPECT_EQ(ErrorOf({L"/record:0"}), L"/record takes whole seconds from 1 to 3600: /record:0");
  EXPECT_EQ(ErrorOf({L"/record:3601"}), L"/record takes whole seconds from 1 to 3600: /record:3601");
  EXPECT_EQ(ErrorOf({L"/watch"}), L"/watch takes changes or whole seconds from 1 to 86400: /watch:");
  EXPECT_EQ(ErrorOf({L"/capture", L"/delay:5s"}), L"/delay takes whole seconds from 0 to 3600: /delay:5s");
  EXPECT_EQ(ErrorOf({L"/capture:now"}), L"/capture takes no value");
  EXPECT_EQ(ErrorOf({L"/stop", L"/pointer"}), L"/pointer is not for this action");
  EXPECT_EQ(ErrorOf({L"/capture", L"/delay:99999999999"}), L"/delay takes whole seconds from 0 to 3600: /delay:99999999999");
}

TEST(CommandLine, FormatGivesTheSameCommandBack) {
  for (const std::vector<std::wstring>& arguments : std::vector<std::vector<std::wstring>>{
           {L"/capture", L"/area:-5,-6,7,8", L"/out:C:\\a b\\c.jpg", L"/type:jpg50", L"/clipboard", L"/pointer",
            L"/delay:2"},
           {L"/capture", L"/frame:kept one"},
           {L"/watch:changes", L"/out:C:\\w", L"/for:9", L"/type:bmp"},
           {L"/watch:15", L"/pointer"},
           {L"/record:30", L"/out:r.gif", L"/area:0,0,800,600"},
           {L"/stop"}}) {
    const auto parsed = Parse(arguments);
    ASSERT_EQ(parsed.error, L"");
    const auto again = Parse(command_line::Format(parsed.command));
    EXPECT_EQ(again.error, L"");
    EXPECT_EQ(again.command, parsed.command) << arguments[0];
  }
  EXPECT_EQ(command_line::Format(Parse({L"/watch:changes", L"/for:9"}).command),
            (std::vector<std::wstring>{L"/watch:changes", L"/for:9"}));
}

TEST(CommandLine, WhatFollowsTheProgramName) {
  EXPECT_EQ(command_line::AfterProgramName(L"kirasoe.com /capture  /out:\"a b.png\""), L"/capture  /out:\"a b.png\"");
  EXPECT_EQ(command_line::AfterProgramName(L"\"C:\\Program Files\\k\\kirasoe.com\"   /stop"), L"/stop");
  EXPECT_EQ(command_line::AfterProgramName(L"\"C:\\a b\\kirasoe\".com /stop"), L"/stop");
  EXPECT_EQ(command_line::AfterProgramName(L"kirasoe"), L"");
  EXPECT_EQ(command_line::AfterProgramName(L""), L"");
}

TEST(CommandLine, FieldsSplitAsJoined) {
  using command_line::JoinFields;
  using command_line::SplitFields;
  EXPECT_EQ(JoinFields({L"a", L"", L"b c"}), std::wstring(L"a\0\0b c", 6));
  EXPECT_EQ(SplitFields(std::wstring(L"a\0\0b c", 6)), (std::vector<std::wstring>{L"a", L"", L"b c"}));
  EXPECT_EQ(SplitFields(L""), std::vector<std::wstring>{});
  EXPECT_EQ(SplitFields(std::wstring(L"\0", 1)), (std::vector<std::wstring>{L"", L""}));
}

TEST(CommandLine, ArgumentsSplitAsTheRuntimeSplitsThem) {
  using command_line::SplitArguments;
  using V = std::vector<std::wstring>;
  EXPECT_EQ(SplitArguments(L"/capture  /out:C:\\a b"), (V{L"/capture", L"/out:C:\\a", L"b"}));
  EXPECT_EQ(SplitArguments(L"/frame:\"Chat window\" /out:\"C:\\a b\\x.png\""),
            (V{L"/frame:Chat window", L"/out:C:\\a b\\x.png"}));
  EXPECT_EQ(SplitArguments(L"a\\\\b \"\""), (V{L"a\\\\b", L""}));       // backslashes without a quote stay
  EXPECT_EQ(SplitArguments(L"a\\\\\"b c\""), (V{L"a\\b c"}));         // 2 backslashes + quote: 1, and the quote opens
  EXPECT_EQ(SplitArguments(L"a\\\"b c"), (V{L"a\"b", L"c"}));           // 1 backslash + quote: a literal quote
  EXPECT_EQ(SplitArguments(L"\"a\"\"b\""), (V{L"a\"b"}));               // "" inside quotes
  EXPECT_EQ(SplitArguments(L"/out:\"C:\\dir\\\\\""), (V{L"/out:C:\\dir\\"}));  // a folder's trailing backslash
  EXPECT_EQ(SplitArguments(L"  \t "), V{});
}
