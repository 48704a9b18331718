// The built veltrane-lsp driven through its pipes as an editor drives it:
// a program with a missing and an unneeded import, mended by its code
// action, broken again by an edit, explained by a hover, then closed down.

#include <gtest/gtest.h>

#include "lsp_client.h"

namespace vt::lsp {
namespace {

constexpr char kProgram[] =
    "SuperStrict\n"
    "Framework BRL.TextStream\n"
    "Import BRL.Map\n"
    "\n"
    "Local text:String = LoadText(\"notes.txt\")\n"
    "Local names:String[] = ReadFolder(\".\")\n";

#if defined(_WIN32)

TEST(LspSession, RunsOnPosixOnly) { GTEST_SKIP() << "the pipe client is POSIX only"; }

#else

class LspSession : public ::testing::Test {
 protected:
  testing::TempFolder home;
  testing::TempFolder project;
  PipeClient client{home.Path()};
  std::string uri;

  void SetUp() override {
    ASSERT_TRUE(client.Started());
    project.WriteFile(u"game.bmx", kProgram);
    uri = UriFromPath(project / u"game.bmx");
  }

  void Start() {
    Json initialized = client.Request("initialize", Initialize(ModernRoot()));
    ASSERT_TRUE(initialized.contains("result")) << initialized;
    ASSERT_EQ(initialized["result"]["capabilities"]["textDocumentSync"]["change"], 2);
    client.Notify("initialized", Json::object());
  }
};

TEST_F(LspSession, FixesTheHeaderThenSeesANewNeedAndExplainsIt) {
  Start();
  client.Notify("textDocument/didOpen", DidOpen(uri, kProgram));
  Json diagnostics = client.Diagnostics(uri);
  ASSERT_EQ(diagnostics.size(), 2u) << diagnostics;
  EXPECT_EQ(diagnostics[0]["message"], "missing Import BRL.Path (ReadFolder at game.bmx:6)");
  EXPECT_EQ(diagnostics[0]["severity"], 2);
  EXPECT_EQ(diagnostics[0]["range"]["start"]["line"], 1);
  EXPECT_EQ(diagnostics[1]["message"], "unneeded Import BRL.Map");
  EXPECT_EQ(diagnostics[1]["severity"], 4);
  EXPECT_EQ(diagnostics[1]["tags"], Json::array({1}));
  EXPECT_EQ(diagnostics[1]["source"], "veltrane");

  Json actions = client.Request(
      "textDocument/codeAction",
      Json{{"textDocument", Json{{"uri", uri}}},
           {"range", WholeFile()},
           {"context", Json{{"diagnostics", diagnostics}}}});
  Json fix;
  for (const Json& action : actions["result"]) {
    if (action["title"] == "Fix the header") fix = action;
  }
  ASSERT_FALSE(fix.is_null()) << actions;
  std::string fixed = Applied(kProgram, fix["edit"], uri);
  EXPECT_EQ(fixed,
            "SuperStrict\nFramework BRL.TextStream\nImport BRL.Path\n\n"
            "Local text:String = LoadText(\"notes.txt\")\n"
            "Local names:String[] = ReadFolder(\".\")\n");

  client.Notify("textDocument/didChange",
                Json{{"textDocument", Json{{"uri", uri}, {"version", 2}}},
                     {"contentChanges", Json::array({Json{{"text", fixed}}})}});
  EXPECT_EQ(client.Diagnostics(uri), Json::array());

  // One incremental change: a timer at the end of the program.
  Json atEnd{{"line", 6}, {"character", 0}};
  client.Notify("textDocument/didChange",
                Json{{"textDocument", Json{{"uri", uri}, {"version", 3}}},
                     {"contentChanges",
                      Json::array({Json{{"range", Json{{"start", atEnd}, {"end", atEnd}}},
                                        {"text", "CreateTimer(60)\n"}}})}});
  std::vector<std::string> messages = Messages(client.Diagnostics(uri));
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages[0], "missing Import BRL.Timer (CreateTimer at game.bmx:7)");

  Json hover = client.Request(
      "textDocument/hover",
      Json{{"textDocument", Json{{"uri", uri}}}, {"position", Json{{"line", 2}, {"character", 9}}}});
  std::string value = hover["result"]["contents"]["value"];
  EXPECT_EQ(value, "**Import BRL.Path**: needed for ReadFolder at game.bmx:6.");

  EXPECT_EQ(client.Request("shutdown", nullptr)["result"], Json());
  client.Notify("exit", nullptr);
  EXPECT_EQ(client.ExitCode(), 0);
}

TEST_F(LspSession, AnswersMalformedInputWithErrorsAndKeepsRunning) {
  client.SendBytes(FrameOf("{\"jsonrpc\": \"2.0\", \"id\": 1, \"method\": "));
  std::optional<Json> parse = client.Take([](const Json&) { return true; });
  ASSERT_TRUE(parse);
  EXPECT_EQ((*parse)["error"]["code"], -32700);
  EXPECT_TRUE((*parse)["id"].is_null());

  client.SendBytes(FrameOf("[1, 2]"));
  std::optional<Json> invalid = client.Take([](const Json&) { return true; });
  ASSERT_TRUE(invalid);
  EXPECT_EQ((*invalid)["error"]["code"], -32600);

  Start();
  EXPECT_EQ(client.Request("textDocument/rename", Json::object())["error"]["code"], -32601);
  client.SendBytes("Content-Type: text/plain\r\n\r\n");
  std::optional<Json> headerless = client.Take([](const Json& m) { return m.contains("error"); });
  ASSERT_TRUE(headerless);
  EXPECT_EQ((*headerless)["error"]["code"], -32700);

  // Still serving.
  EXPECT_EQ(client.Request("shutdown", nullptr)["result"], Json());
  client.Notify("exit", nullptr);
  EXPECT_EQ(client.ExitCode(), 0);
}

TEST_F(LspSession, AnExitWithoutShutdownEndsWithOne) {
  Start();
  client.Notify("exit", nullptr);
  EXPECT_EQ(client.ExitCode(), 1);
}

TEST_F(LspSession, TheEndOfItsInputEndsIt) {
  Start();
  client.CloseInput();
  EXPECT_EQ(client.ExitCode(), 1);
}

#endif

}  // namespace
}  // namespace vt::lsp
