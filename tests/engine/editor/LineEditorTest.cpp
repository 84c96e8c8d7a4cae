#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "engine/editor/LineDisplay.h"
#include "engine/editor/LineEditor.h"
#include "engine/editor/LineHistory.h"
#include "tests/engine/dxf/DxfTestSupport.h"

namespace {

using dxftest::slurp;
using TempFolder = dxftest::TempDir;

using cad::LineDisplay;
using cad::LineEditor;
using cad::LineHistory;
using Outcome = LineEditor::Outcome;

const std::string kLeft = "\x1b[D";
const std::string kRight = "\x1b[C";
const std::string kUp = "\x1b[A";
const std::string kDown = "\x1b[B";
const std::string kDelete = "\x1b[3~";
const std::string kBackspace = "\x7f";

struct Typing {
    explicit Typing(std::initializer_list<std::string> lines = {}) {
        for (const auto& line : lines) history.add(line);
        editor.startLine();
    }
    Outcome type(const std::string& bytes) {
        editor.feed(bytes);
        return editor.run();
    }
    LineHistory history;
    LineEditor editor{history};
};

TEST(LineEditor, EditsMultiByteTextByCodePoint) {
    Typing t;
    // a, e-acute (2 bytes), euro (3 bytes), an emoji (4 bytes).
    EXPECT_EQ(t.type("a\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80"), Outcome::Editing);
    t.type(kLeft + kLeft + kBackspace);
    EXPECT_EQ(t.editor.text(), "a\xe2\x82\xac\xf0\x9f\x98\x80");
    EXPECT_EQ(t.editor.cursor(), 1u);
    t.type(kDelete);
    EXPECT_EQ(t.editor.text(), "a\xf0\x9f\x98\x80");
    t.type(kRight + "b" + kLeft + kLeft + "\xc3\xa9");
    EXPECT_EQ(t.editor.text(), "a\xc3\xa9\xf0\x9f\x98\x80" "b");
    t.type("\x01" + kRight + kRight + kBackspace);  // Ctrl-A
    EXPECT_EQ(t.editor.text(), "a\xf0\x9f\x98\x80" "b");
    EXPECT_EQ(t.editor.cursor(), 1u);
    // Moving past either end stays at the end; deleting there changes nothing.
    t.type("\x05" + kRight + kDelete + "\x01" + kLeft + kBackspace);
    EXPECT_EQ(t.editor.text(), "a\xf0\x9f\x98\x80" "b");
    EXPECT_EQ(t.editor.cursor(), 0u);
    // Invalid UTF-8 and stray control bytes are never inserted.
    t.type("\x80\xff\xc3" "x\x07\x1f");
    EXPECT_EQ(t.editor.text(), "xa\xf0\x9f\x98\x80" "b");
}

TEST(LineEditor, HomeAndEndInEveryFormTerminalsSend) {
    const char* homes[] = {"\x1b[H", "\x1b[1~", "\x1bOH", "\x01", "\x1b[7~"};
    const char* ends[] = {"\x1b[F", "\x1b[4~", "\x1bOF", "\x05", "\x1b[8~"};
    for (const char* home : homes) {
        Typing t;
        t.type(std::string("abc") + home + "X");
        EXPECT_EQ(t.editor.text(), "Xabc") << "home form " << testing::PrintToString(home);
    }
    for (const char* end : ends) {
        Typing t;
        t.type(std::string("abc") + "\x01" + end + "X");
        EXPECT_EQ(t.editor.text(), "abcX") << "end form " << testing::PrintToString(end);
    }
}

TEST(LineEditor, SequencesSplitAcrossReadsAndUnknownOnesSwallowed) {
    Typing t;
    t.type("ab");
    EXPECT_EQ(t.type("\x1b"), Outcome::Editing);
    EXPECT_TRUE(t.editor.waitingForEscape());
    t.type("[");
    EXPECT_TRUE(t.editor.waitingForEscape());
    t.type("D");
    EXPECT_FALSE(t.editor.waitingForEscape());
    EXPECT_EQ(t.editor.cursor(), 1u);
    t.type("\x1b[3");
    t.type("~");
    EXPECT_EQ(t.editor.text(), "a");
    // A character cut between reads.
    t.type("\xe2\x82");
    EXPECT_EQ(t.editor.text(), "a");
    t.type("\xac");
    EXPECT_EQ(t.editor.text(), "a\xe2\x82\xac");
    // Function keys, bracketed paste marks, Alt combinations are swallowed; a modified arrow moves.
    t.type("\x1b[15~\x1bOP\x1b[200~\x1bx\x1b[1;5D\x1b[?25h");
    EXPECT_EQ(t.editor.text(), "a\xe2\x82\xac");
    EXPECT_EQ(t.editor.cursor(), 1u);
    // A sequence broken off by a control byte is dropped, the byte still counts.
    t.type("\x1b[1\x05z");
    EXPECT_EQ(t.editor.text(), "a\xe2\x82\xacz");
    // A cut sequence that never completes is dropped when the wait ends, without cancelling.
    t.type("\x1b[");
    EXPECT_EQ(t.editor.expire(), Outcome::Editing);
    t.type("q");
    EXPECT_EQ(t.editor.text(), "a\xe2\x82\xaczq");
    // A lone Escape cancels once nothing follows it in time.
    EXPECT_EQ(t.type("\x1b"), Outcome::Editing);
    EXPECT_EQ(t.editor.expire(), Outcome::Cancelled);
}

TEST(LineEditor, HistoryWalkKeepsTheDraftPastBothEnds) {
    Typing t({"one", "two"});
    t.type("dra" + kLeft);
    t.type(kUp);
    EXPECT_EQ(t.editor.text(), "two");
    EXPECT_EQ(t.editor.cursor(), 3u);
    t.type(kUp + kUp + kUp);
    EXPECT_EQ(t.editor.text(), "one");
    t.type(kDown);
    EXPECT_EQ(t.editor.text(), "two");
    t.type(kDown);
    EXPECT_EQ(t.editor.text(), "dra");
    t.type(kDown + kDown);
    EXPECT_EQ(t.editor.text(), "dra");
    t.type("ft\x10");  // Ctrl-P
    EXPECT_EQ(t.editor.text(), "two");
    t.type("\x0e");  // Ctrl-N
    EXPECT_EQ(t.editor.text(), "draft");
    EXPECT_EQ(t.type("\r"), Outcome::Accepted);

    Typing empty;
    empty.type("x" + kUp + kDown);
    EXPECT_EQ(empty.editor.text(), "x");
}

TEST(LineEditor, KillKeysAndCtrlD) {
    Typing t;
    t.type("setvar  filedia  \x17");  // Ctrl-W
    EXPECT_EQ(t.editor.text(), "setvar  ");
    t.type("x y" + kLeft + kLeft + "\x0b");  // Ctrl-K
    EXPECT_EQ(t.editor.text(), "setvar  x");
    t.type(kLeft + "\x15");  // Ctrl-U
    EXPECT_EQ(t.editor.text(), "x");
    EXPECT_EQ(t.editor.cursor(), 0u);
    // Ctrl-D deletes under the cursor while there is text, and does nothing at its end.
    EXPECT_EQ(t.type("ab\x04"), Outcome::Editing);
    EXPECT_EQ(t.editor.text(), "ab");
    EXPECT_EQ(t.type("\x04"), Outcome::Editing);
    EXPECT_EQ(t.editor.text(), "ab");
    EXPECT_EQ(t.type("\x15\x04"), Outcome::EndOfInput);
    t.type("\x0c");
    EXPECT_TRUE(t.editor.takeClearScreen());
    EXPECT_FALSE(t.editor.takeClearScreen());
}

TEST(LineEditor, LineEndsAndTypeAheadForTheNextLine) {
    Typing t;
    EXPECT_EQ(t.type("one\r\ntwo\rthree\n\nfour\x03rest"), Outcome::Accepted);
    EXPECT_EQ(t.editor.text(), "one");
    const char* expected[] = {"two", "three", ""};
    for (const char* line : expected) {
        t.editor.startLine();
        EXPECT_EQ(t.editor.run(), Outcome::Accepted);
        EXPECT_EQ(t.editor.text(), line);
    }
    t.editor.startLine();
    EXPECT_EQ(t.editor.run(), Outcome::Cancelled);
    EXPECT_EQ(t.editor.text(), "four");
    t.editor.startLine();
    EXPECT_EQ(t.editor.run(), Outcome::Editing);
    EXPECT_EQ(t.editor.text(), "rest");
}

TEST(LineHistory, SkipsBlankCancelAndRepeatsAndPersists) {
    TempFolder folder;
    auto file = folder.path() / "new" / "brinmo" / "history";
    {
        LineHistory history(file);
        for (const char* line : {"a", "a", "  ", "", "^C", " ^C ", "b", "a"}) history.add(line);
        EXPECT_EQ(history.entries(), (std::vector<std::string>{"a", "b", "a"}));
    }
    EXPECT_EQ(slurp(file), "a\nb\na\n");
    LineHistory again(file);
    again.add("a");
    again.add("c");
    EXPECT_EQ(again.entries(), (std::vector<std::string>{"a", "b", "a", "c"}));
    for (int i = 0; i < 600; ++i) again.add("line " + std::to_string(i));
    EXPECT_EQ(again.entries().size(), LineHistory::kLimit);
    EXPECT_EQ(again.entries().front(), "line 100");
    again.compact();
    LineHistory reloaded(file);
    EXPECT_EQ(reloaded.entries(), again.entries());
    EXPECT_EQ(slurp(file).substr(0, 9), "line 100\n");
}

TEST(LineHistory, UnusableFilesAreGoneWithout) {
    TempFolder folder;
    std::ofstream(folder.path() / "plain") << "x";
    // A history file below a plain file can be neither read nor written.
    LineHistory blocked(folder.path() / "plain" / "history");
    blocked.add("kept in memory");
    blocked.compact();
    EXPECT_EQ(blocked.entries(), std::vector<std::string>{"kept in memory"});
    // A folder where the file should be.
    LineHistory folderNamed(folder.path());
    EXPECT_TRUE(folderNamed.entries().empty());
    folderNamed.add("x");
    EXPECT_EQ(folderNamed.entries().size(), 1u);
    // Control characters written by hand do not reach the line.
    std::ofstream(folder.path() / "hand") << "get\tvar\x1b[2J\r\n\n";
    LineHistory hand(folder.path() / "hand");
    EXPECT_EQ(hand.entries(), std::vector<std::string>{"get var [2J"});
}

TEST(LineDisplay, RedrawsInPlaceAndScrollsLongLinesSideways) {
    LineDisplay display;
    display.start();
    EXPECT_EQ(display.draw("P: ", "ab\xc3\xa9", 1, 80), "P: ab\xc3\xa9\x1b[K\x1b[2D");
    // The next drawing goes back to the start of the prompt: 3 + 1 columns.
    EXPECT_EQ(display.draw("P: ", "ab\xc3\xa9", 4, 80), "\x1b[4DP: ab\xc3\xa9\x1b[K");
    EXPECT_EQ(display.erase(), "\x1b[6D\x1b[K");

    // 20 columns: the prompt takes 3, one stays free, 16 remain for text.
    std::string text;
    for (char c = 'a'; c <= 'z'; ++c) text += c;
    display.start();
    EXPECT_EQ(display.draw("P: ", text, text.size(), 20), "P: klmnopqrstuvwxyz\x1b[K");
    EXPECT_EQ(display.draw("P: ", text, 12, 20), "\x1b[19DP: klmnopqrstuvwxyz\x1b[K\x1b[14D");
    // Moving left of the window scrolls it, not further than needed.
    EXPECT_EQ(display.draw("P: ", text, 5, 20), "\x1b[5DP: fghijklmnopqrstu\x1b[K\x1b[16D");
    EXPECT_EQ(display.draw("P: ", text, 0, 20), "\x1b[3DP: abcdefghijklmnop\x1b[K\x1b[16D");
    // Deleting text pulls the window back so it stays full.
    display.draw("P: ", text, text.size(), 20);
    EXPECT_EQ(display.draw("P: ", text.substr(0, 20), 12, 20), "\x1b[19DP: efghijklmnopqrst\x1b[K\x1b[8D");
    EXPECT_EQ(display.draw("P: ", text.substr(0, 10), 10, 20), "\x1b[11DP: abcdefghij\x1b[K");
}

}  // namespace
