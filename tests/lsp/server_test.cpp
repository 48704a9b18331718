// The server driven in the process, each edit examined as soon as the test
// waits for its result: what it publishes, the edits it offers, what it
// says about a broken setting, and its answers to malformed requests.

#include "lsp/server.h"

#include <gtest/gtest.h>

#include <filesystem>

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

constexpr char kClean[] =
    "SuperStrict\n"
    "Framework BRL.TextStream\n"
    "\n"
    "Print LoadText(\"notes.txt\")\n";

class LspServer : public ::testing::Test {
 protected:
  testing::TempFolder home;
  testing::ScopedEnvironment homeVariable{"HOME", ToUtf8(home.Path())};
  testing::TempFolder project;
  InProcessClient client;

  void Start(const Text& root = ModernRoot()) {
    Json response = client.Request("initialize", Initialize(root));
    ASSERT_TRUE(response.contains("result")) << response;
    client.Notify("initialized", Json::object());
  }

  std::string Open(const Text& name, const std::string& text) {
    std::string uri = UriFromPath(project / name);
    client.Notify("textDocument/didOpen", DidOpen(uri, text));
    return uri;
  }

  Json Actions(const std::string& uri) {
    return client.Request("textDocument/codeAction",
                          Json{{"textDocument", Json{{"uri", uri}}},
                               {"range", WholeFile()},
                               {"context", Json{{"diagnostics", Json::array()}}}})["result"];
  }

  Json Action(const std::string& uri, const std::string& title) {
    for (const Json& action : Actions(uri)) {
      if (action["title"] == title) return action;
    }
    return Json();
  }

  void Replace(const std::string& uri, const std::string& text, int version) {
    client.Notify("textDocument/didChange",
                  Json{{"textDocument", Json{{"uri", uri}, {"version", version}}},
                       {"contentChanges", Json::array({Json{{"text", text}}})}});
  }

  std::vector<Json> ShownMessages() {
    std::vector<Json> shown;
    while (std::optional<Json> message = client.Take([](const Json& m) {
             return m.value("method", "") == "window/showMessage";
           })) {
      shown.push_back((*message)["params"]);
    }
    return shown;
  }

  Json Hover(const std::string& uri, size_t line, size_t character) {
    return client.Request("textDocument/hover",
                          Json{{"textDocument", Json{{"uri", uri}}},
                               {"position", Json{{"line", line}, {"character", character}}}})["result"];
  }
};

TEST_F(LspServer, EachQuickFixMendsItsOwnFinding) {
  Start();
  std::string uri = Open(u"game.bmx", kProgram);
  ASSERT_EQ(client.Diagnostics(uri).size(), 2u);
  Json add = Action(uri, "Import BRL.Path");
  Json remove = Action(uri, "Remove Import BRL.Map");
  ASSERT_FALSE(add.is_null());
  ASSERT_FALSE(remove.is_null());
  EXPECT_EQ(add["kind"], "quickfix");
  EXPECT_EQ(add["diagnostics"][0]["message"], "missing Import BRL.Path (ReadFolder at game.bmx:6)");

  std::string added = Applied(kProgram, add["edit"], uri);
  Replace(uri, added, 2);
  EXPECT_EQ(Messages(client.Diagnostics(uri)), std::vector<std::string>{"unneeded Import BRL.Map"});
  Json removeNow = Action(uri, "Remove Import BRL.Map");
  ASSERT_FALSE(removeNow.is_null());
  std::string mended = Applied(added, removeNow["edit"], uri);
  EXPECT_EQ(mended.find("BRL.Map"), std::string::npos) << mended;
  Replace(uri, mended, 3);
  EXPECT_EQ(client.Diagnostics(uri), Json::array());
  EXPECT_TRUE(Actions(uri).empty());
}

TEST_F(LspServer, TheBufferIsExaminedNotTheFileOnDisk) {
  project.WriteFile(u"game.bmx", kClean);
  Start();
  std::string uri = Open(u"game.bmx", kProgram);
  EXPECT_EQ(client.Diagnostics(uri).size(), 2u);
  Replace(uri, kClean, 2);
  EXPECT_EQ(client.Diagnostics(uri), Json::array());
}

TEST_F(LspServer, AnIncludedBufferCountsForItsProgram) {
  project.WriteFile(u"veltrane.toml", "root = \"" + ToUtf8(ModernRoot()) +
                                          "\"\nmain_files = [\"game.bmx\"]\n");
  project.WriteFile(u"game.bmx", "SuperStrict\nFramework BRL.TextStream\n\nInclude \"seeding.bmx\"\n"
                                 "Print LoadText(\"a.txt\")\n");
  project.WriteFile(u"seeding.bmx", "Function Nothing()\nEnd Function\n");
  // No root given: the project file names it.
  Json response = client.Request("initialize", Json{{"capabilities", Json::object()}});
  ASSERT_TRUE(response.contains("result"));
  std::string seeding = Open(u"seeding.bmx", "Function Seed()\n\tSeedRnd(3)\nEnd Function\n");
  std::string game = UriFromPath(project / u"game.bmx");
  std::vector<std::string> messages = Messages(client.Diagnostics(game));
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0], "missing Import Random.Core (SeedRnd at seeding.bmx:2)");
  EXPECT_EQ(client.Diagnostics(seeding), Json::array());
}

TEST_F(LspServer, AFileTheProgramNamesButLacksIsAnErrorOnItsLine) {
  Start();
  std::string uri = Open(u"game.bmx", std::string(kClean) + "Include \"gone.bmx\"\n");
  Json diagnostics = client.Diagnostics(uri);
  ASSERT_EQ(diagnostics.size(), 1u) << diagnostics;
  EXPECT_EQ(diagnostics[0]["severity"], 1);
  EXPECT_EQ(diagnostics[0]["range"]["start"]["line"], 4);
  EXPECT_NE(diagnostics[0]["message"].get<std::string>().find("gone.bmx"), std::string::npos);
  // The header cannot be judged whole: no edit of it is offered.
  EXPECT_TRUE(Action(uri, "Fix the header").is_null());
}

TEST_F(LspServer, AModuleNotInstalledIsANote) {
  Start();
  std::string uri = Open(u"game.bmx", "SuperStrict\nFramework BRL.TextStream\nImport Nowhere.Thing\n"
                                      "\nPrint LoadText(\"notes.txt\")\n");
  Json diagnostics = client.Diagnostics(uri);
  ASSERT_EQ(diagnostics.size(), 1u) << diagnostics;
  EXPECT_EQ(diagnostics[0]["severity"], 3);
  EXPECT_EQ(diagnostics[0]["message"], "Import Nowhere.Thing: not installed here: kept");
  EXPECT_NE(Hover(uri, 2, 10)["contents"]["value"].get<std::string>().find("not installed"),
            std::string::npos);
}

TEST_F(LspServer, HoverSaysWhyALineIsThereOrIsNot) {
  Start();
  std::string uri = Open(u"game.bmx", kProgram);
  client.Diagnostics(uri);
  Json framework = Hover(uri, 1, 12);
  EXPECT_EQ(framework["contents"]["value"],
            "**Framework BRL.TextStream**: needed for Programs template: LoadText at game.bmx:5.");
  EXPECT_EQ(framework["range"]["start"]["character"], 10);
  EXPECT_EQ(framework["range"]["end"]["character"], 24);
  std::string map = Hover(uri, 2, 8)["contents"]["value"];
  EXPECT_EQ(map.rfind("**Import BRL.Map**: not needed.", 0), 0u) << map;
  EXPECT_TRUE(Hover(uri, 4, 3).is_null());
}

TEST_F(LspServer, ClosingADocumentClearsItsDiagnostics) {
  Start();
  std::string uri = Open(u"game.bmx", kProgram);
  EXPECT_EQ(client.Diagnostics(uri).size(), 2u);
  client.Notify("textDocument/didClose", Json{{"textDocument", Json{{"uri", uri}}}});
  EXPECT_EQ(client.Diagnostics(uri), Json::array());
}

TEST_F(LspServer, ABadRootIsSaidOnceAndTheServerGoesOn) {
  Start(project.Path());
  std::string first = Open(u"a.bmx", kProgram);
  std::string second = Open(u"b.bmx", kProgram);
  client.Request("textDocument/hover", Json{{"textDocument", Json{{"uri", second}}},
                                            {"position", Json{{"line", 0}, {"character", 0}}}});
  std::vector<Json> shown = ShownMessages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0]["type"], 1);
  EXPECT_NE(shown[0]["message"].get<std::string>().find("no \"mod\" folder"), std::string::npos);
  EXPECT_EQ(client.Request("shutdown", nullptr)["result"], Json());
}

TEST_F(LspServer, AMalformedProjectFileIsSaidOnce) {
  project.WriteFile(u"veltrane.toml", "root = 3\n");
  Start();
  Open(u"a.bmx", kProgram);
  Open(u"b.bmx", kProgram);
  Actions(UriFromPath(project / u"a.bmx"));
  std::vector<Json> shown = ShownMessages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0]["type"], 1);
  EXPECT_NE(shown[0]["message"].get<std::string>().find("veltrane.toml"), std::string::npos);
}

TEST_F(LspServer, AMalformedRulesFileIsSaid) {
  project.WriteFile(u"broken-rules.txt", "[modern]\nsymbol\n");
  Json options{{"root", ToUtf8(ModernRoot())},
               {"rulesFile", ToUtf8(project / u"broken-rules.txt")}};
  Json params = Initialize(ModernRoot());
  params["initializationOptions"] = options;
  ASSERT_TRUE(client.Request("initialize", params).contains("result"));
  Actions(Open(u"a.bmx", kProgram));
  std::vector<Json> shown = ShownMessages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_NE(shown[0]["message"].get<std::string>().find("broken-rules.txt"), std::string::npos);
}

TEST_F(LspServer, TheCatalogueIsScannedAgainOnlyWhenAModuleChanges) {
  testing::TempFolder installation;
  std::filesystem::copy(testing::NativePath(ModernRoot() + u"/mod"),
                        testing::NativePath(installation / u"mod"),
                        std::filesystem::copy_options::recursive);
  Start(installation.Path());
  std::string program = "SuperStrict\nFramework BRL.TextStream\n\nPrint LoadText(\"a\") + Chime()\n";
  std::string uri = Open(u"game.bmx", program);
  EXPECT_EQ(client.Diagnostics(uri), Json::array());
  installation.WriteFile(u"mod/brl.mod/chime.mod/chime.bmx",
                         "SuperStrict\nModule BRL.Chime\nImport BRL.Blitz\n"
                         "Function Chime:String()\n\tReturn \"ding\"\nEnd Function\n");
  EXPECT_EQ(client.server().CatalogueScans(), 1u);
  // An edit alone reads no module folder.
  Replace(uri, program + "\n", 2);
  EXPECT_EQ(client.Diagnostics(uri), Json::array());
  EXPECT_EQ(client.server().CatalogueScans(), 1u);
  client.Notify("workspace/didChangeWatchedFiles",
                Json{{"changes", Json::array({Json{
                                     {"uri", UriFromPath(installation /
                                                         u"mod/brl.mod/chime.mod/chime.bmx")},
                                     {"type", 1}}})}});
  EXPECT_EQ(Messages(client.Diagnostics(uri)),
            std::vector<std::string>{"missing Import BRL.Chime (Chime at game.bmx:4)"});
  EXPECT_EQ(client.server().CatalogueScans(), 2u);
}

TEST_F(LspServer, ProtocolErrorsAreAnswered) {
  Json early = client.Request("textDocument/hover", Json::object());
  EXPECT_EQ(early["error"]["code"], -32002);
  Start();
  EXPECT_EQ(client.Request("initialize", Initialize(ModernRoot()))["error"]["code"], -32602);
  EXPECT_EQ(client.Request("workspace/symbol", Json::object())["error"]["code"], -32601);
  EXPECT_EQ(client.Request("textDocument/hover", Json{{"textDocument", 3}})["error"]["code"],
            -32602);
  EXPECT_EQ(client.Request("textDocument/hover",
                           Json{{"textDocument", Json{{"uri", "untitled:1"}}},
                                {"position", Json{{"line", 0}, {"character", 0}}}})["error"]["code"],
            -32602);
  client.Send(Json{{"jsonrpc", "1.0"}, {"id", 99}, {"method", "shutdown"}});
  std::optional<Json> oldVersion = client.Take([](const Json& m) { return m["id"] == 99; });
  ASSERT_TRUE(oldVersion);
  EXPECT_EQ((*oldVersion)["error"]["code"], -32600);
  client.Send(Json{{"jsonrpc", "2.0"}, {"id", Json::array()}, {"method", "shutdown"}});
  std::optional<Json> badId = client.Take([](const Json& m) { return m.contains("error"); });
  ASSERT_TRUE(badId);
  EXPECT_EQ((*badId)["error"]["code"], -32600);
  // A malformed notification gets no answer, and breaks nothing.
  client.Notify("textDocument/didOpen", Json{{"textDocument", "nonsense"}});
  client.Notify("textDocument/didChange", Json::array());
  EXPECT_EQ(client.Request("shutdown", nullptr)["result"], Json());
  EXPECT_EQ(client.Request("textDocument/hover", Json::object())["error"]["code"], -32600);
  client.Notify("exit", nullptr);
  EXPECT_TRUE(client.server().Exited());
  EXPECT_EQ(client.server().ExitCode(), 0);
}

TEST_F(LspServer, EditsArriveAsIncrementalChanges) {
  Start();
  std::string uri = Open(u"game.bmx", kClean);
  EXPECT_EQ(client.Diagnostics(uri), Json::array());
  // "Framework BRL.TextStream" becomes "Framework BRL.Map" in place.
  client.Notify("textDocument/didChange",
                Json{{"textDocument", Json{{"uri", uri}, {"version", 2}}},
                     {"contentChanges",
                      Json::array({Json{{"range", Json{{"start", Json{{"line", 1}, {"character", 14}}},
                                                       {"end", Json{{"line", 1}, {"character", 24}}}}},
                                        {"text", "Map"}}})}});
  std::vector<std::string> messages = Messages(client.Diagnostics(uri));
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages[0], "unneeded Framework BRL.Map");
}

}  // namespace
}  // namespace vt::lsp

namespace vt::lsp {
namespace {

class LspUnits : public LspServer {};

TEST_F(LspUnits, AnEditOfOneUnitLeavesTheOthersAloneButRight) {
  Start();
  project.WriteFile(u"util.bmx", "SuperStrict\nImport BRL.Map\n\nFunction Names:String[]()\n"
                                 "\tReturn ReadFolder(\".\")\nEnd Function\n");
  std::string main = "SuperStrict\nFramework BRL.TextStream\nImport \"util.bmx\"\n\n"
                     "Print LoadText(\"notes.txt\")\n";
  std::string mainUri = Open(u"game.bmx", main);
  std::string utilUri = UriFromPath(project / u"util.bmx");
  EXPECT_EQ(client.Diagnostics(mainUri), Json::array());
  EXPECT_EQ(Messages(client.Diagnostics(utilUri)),
            (std::vector<std::string>{"missing Import BRL.Path (ReadFolder at util.bmx:5)",
                                      "unneeded Import BRL.Map"}));
  // An edit of the main file that changes nothing of the unit's: the unit's
  // findings are not sent again, and its fix is still the whole fix.
  Replace(mainUri, main + "Print 1\n", 2);
  EXPECT_EQ(client.Diagnostics(mainUri), Json::array());
  EXPECT_TRUE(client.Diagnostics(utilUri).contains("timedOut"));
  Json fix = Action(utilUri, "Fix the header");
  ASSERT_FALSE(fix.is_null());
  EXPECT_EQ(fix["edit"]["changes"][utilUri][0]["newText"], "Import BRL.Path\n");
  // An edit of the main file that the unit's box follows: the unit is judged again.
  Replace(mainUri, "SuperStrict\nFramework BRL.TextStream\nImport \"util.bmx\"\n\n"
                   "Print LoadText(\"notes.txt\")\nFunction ReadFolder:String[](x:String)\n"
                   "End Function\n", 3);
  client.Diagnostics(mainUri);
  Json judged = client.Diagnostics(utilUri);
  ASSERT_TRUE(judged.is_array()) << judged;
  std::vector<std::string> now = Messages(judged);
  EXPECT_EQ(std::count(now.begin(), now.end(), "missing Import BRL.Path (ReadFolder at util.bmx:5)"),
            0) << ::testing::PrintToString(now);
}

// A unit whose header is mended in its buffer, its box as it was, is judged
// again from its new bytes.
TEST_F(LspUnits, AUnitsOwnEditIsJudgedThoughItsBoxStaysTheSame) {
  Start();
  std::string util = "SuperStrict\nImport BRL.Map\n\nPrint ReadFolder(\".\").length\n";
  project.WriteFile(u"util.bmx", util);
  std::string mainUri = Open(u"game.bmx", "SuperStrict\nImport \"util.bmx\"\n");
  std::string utilUri = Open(u"util.bmx", util);
  EXPECT_EQ(Messages(client.Diagnostics(utilUri)),
            (std::vector<std::string>{"missing Import BRL.Path (ReadFolder at util.bmx:4)",
                                      "unneeded Import BRL.Map"}));
  Replace(utilUri, "SuperStrict\nImport BRL.Path\n\nPrint ReadFolder(\".\").length\n", 2);
  EXPECT_EQ(client.Diagnostics(utilUri), Json::array());
  EXPECT_EQ(client.Diagnostics(mainUri), Json::array());
}

// A unit no editor has open keeps only what tells whether its diagnostics
// changed; when a file it includes is gone, its box and bytes as they were,
// they are made again, each on the line it belongs to.
TEST_F(LspUnits, AUnitNotOpenShowsAGoneIncludeOnItsLines) {
  Start();
  project.WriteFile(u"util.bmx", "SuperStrict\nImport BRL.Map\nInclude \"part.bmx\"\n");
  project.WriteFile(u"part.bmx", "' nothing yet\n");
  std::string main = "SuperStrict\nFramework BRL.TextStream\nImport \"util.bmx\"\n";
  std::string mainUri = Open(u"game.bmx", main);
  std::string utilUri = UriFromPath(project / u"util.bmx");
  EXPECT_EQ(Messages(client.Diagnostics(utilUri)),
            std::vector<std::string>{"unneeded Import BRL.Map"});
  std::filesystem::remove(ToUtf8(project / u"part.bmx"));
  Replace(mainUri, main + "\n", 2);
  client.Diagnostics(mainUri);
  Json gone = client.Diagnostics(utilUri);
  ASSERT_TRUE(gone.is_array()) << gone;
  std::map<std::string, Json> ranges;
  for (const Json& diagnostic : gone) ranges[diagnostic["code"]] = diagnostic["range"];
  EXPECT_EQ(ranges["unneeded"]["end"], (Json{{"line", 1}, {"character", 14}})) << gone;
  EXPECT_EQ(ranges["file-not-read"]["start"]["line"], 2) << gone;
}

// What a Framework line would save, told to a main file without one, is
// taken from the last check while every unit names the modules it named,
// and worked out again when one names another: as a fresh server says.
TEST_F(LspUnits, TheSavingOfAFrameworkFollowsTheModules) {
  auto saving = [](const Json& diagnostics) {
    for (const std::string& message : Messages(diagnostics)) {
      if (message.rfind("no Framework line", 0) == 0) return message;
    }
    return std::string();
  };
  Start();
  project.WriteFile(u"util.bmx", "SuperStrict\n\nPrint LoadText(\"notes.txt\")\n");
  std::string main = "SuperStrict\nImport \"util.bmx\"\n\nLocal names:String[] = ReadFolder(\".\")\n";
  std::string uri = Open(u"game.bmx", main);
  std::string first = saving(client.Diagnostics(uri));
  ASSERT_NE(first, "");
  Replace(uri, main + "Local n:Int = 1\n", 2);
  EXPECT_EQ(saving(client.Diagnostics(uri)), first);

  std::string timed = main + "CreateTimer(60)\n";
  Replace(uri, timed, 3);
  std::string now = saving(client.Diagnostics(uri));
  EXPECT_NE(now, first);
  InProcessClient fresh;
  fresh.Request("initialize", Initialize(ModernRoot()));
  fresh.Notify("initialized", Json::object());
  fresh.Notify("textDocument/didOpen", DidOpen(uri, timed));
  EXPECT_EQ(now, saving(fresh.Diagnostics(uri)));
}

}  // namespace
}  // namespace vt::lsp

namespace vt::lsp {
namespace {

// Messages of every odd shape: each is answered or passed over, and the
// server still answers a good request after them.
TEST_F(LspServer, OddMessagesNeverStopIt) {
  Start();
  std::string uri = Open(u"game.bmx", kProgram);
  client.Diagnostics(uri);
  const std::vector<std::string> bodies = {
      "", "null", "3", "\"text\"", "{}", "[]", "{\"jsonrpc\":\"2.0\"}",
      "{\"jsonrpc\":\"2.0\",\"id\":1.5,\"method\":\"shutdown\"}",
      "{\"jsonrpc\":\"2.0\",\"id\":7,\"method\":5}",
      "{\"jsonrpc\":\"2.0\",\"id\":8,\"method\":\"textDocument/hover\",\"params\":null}",
      "{\"jsonrpc\":\"2.0\",\"id\":9,\"method\":\"textDocument/hover\",\"params\":{\"textDocument\":"
      "{\"uri\":\"" + uri + "\"},\"position\":{\"line\":-1,\"character\":-1}}}",
      "{\"jsonrpc\":\"2.0\",\"id\":10,\"method\":\"textDocument/codeAction\",\"params\":{"
      "\"textDocument\":{\"uri\":\"" + uri + "\"},\"range\":{\"start\":{\"line\":99999999,"
      "\"character\":0},\"end\":{\"line\":0,\"character\":\"x\"}}}}",
      "{\"jsonrpc\":\"2.0\",\"method\":\"textDocument/didChange\",\"params\":{\"textDocument\":"
      "{\"uri\":\"" + uri + "\",\"version\":2},\"contentChanges\":[{\"range\":{\"start\":{\"line\":"
      "18446744073709551615,\"character\":18446744073709551615},\"end\":{\"line\":0,\"character\":0}},"
      "\"text\":\"\"}]}}",
      "{\"jsonrpc\":\"2.0\",\"method\":\"workspace/didChangeWatchedFiles\",\"params\":{\"changes\":"
      "[{\"uri\":7},{\"uri\":\"file:///nowhere/mod/x.bmx\",\"type\":2}]}}",
      "{\"jsonrpc\":\"2.0\",\"method\":\"textDocument/didClose\",\"params\":{\"textDocument\":{}}}",
      "\xff\xfe{",
  };
  for (const std::string& body : bodies) {
    client.SendBytes(FrameOf(body));
    // Whatever it says to this one, it says as JSON-RPC.
    while (std::optional<Json> answer = client.Take([](const Json&) { return true; })) {
      EXPECT_EQ((*answer)["jsonrpc"], "2.0") << body;
    }
  }
  Json hover = client.Request("textDocument/hover",
                              Json{{"textDocument", Json{{"uri", uri}}},
                                   {"position", Json{{"line", 1}, {"character", 12}}}});
  EXPECT_TRUE(hover.contains("result")) << hover;
}

}  // namespace
}  // namespace vt::lsp

namespace vt::lsp {
namespace {

TEST_F(LspServer, AnEmptyRootOptionLeavesTheChoiceToTheProjectFile) {
  project.WriteFile(u"veltrane.toml", "root = \"" + ToUtf8(ModernRoot()) + "\"\n");
  ASSERT_TRUE(client.Request("initialize", Initialize(Text())).contains("result"));
  std::string uri = Open(u"game.bmx", kProgram);
  EXPECT_EQ(client.Diagnostics(uri).size(), 2u);
  EXPECT_TRUE(ShownMessages().empty());
}

}  // namespace
}  // namespace vt::lsp

namespace vt::lsp {
namespace {

// A client that watches the files is asked to, and is trusted to say when
// the disk changes: until then the disk is read as it was. Without that
// promise every examination reads the disk.
TEST_F(LspServer, TheDiskIsReadAgainWhenAWatchingClientSaysOrEachTime) {
  for (bool watching : {true, false}) {
    SCOPED_TRACE(watching ? "watching" : "not watching");
    InProcessClient editor;
    Json params = Initialize(ModernRoot());
    if (watching) {
      params["capabilities"] = Json{
          {"workspace", Json{{"didChangeWatchedFiles", Json{{"dynamicRegistration", true}}}}}};
    }
    ASSERT_TRUE(editor.Request("initialize", params).contains("result"));
    editor.Notify("initialized", Json::object());
    std::optional<Json> registration = editor.Take(
        [](const Json& m) { return m.value("method", "") == "client/registerCapability"; });
    ASSERT_EQ(registration.has_value(), watching);
    if (watching) {
      EXPECT_EQ((*registration)["params"]["registrations"][0]["method"],
                "workspace/didChangeWatchedFiles");
    }

    project.WriteFile(u"helper.bmx", "Function Helper()\nEnd Function\n");
    std::string main = "SuperStrict\nFramework BRL.TextStream\nInclude \"helper.bmx\"\n\n"
                       "Print LoadText(\"notes.txt\")\n";
    std::string uri = UriFromPath(project / u"game.bmx");
    editor.Notify("textDocument/didOpen", DidOpen(uri, main));
    EXPECT_EQ(editor.Diagnostics(uri), Json::array());
    project.WriteFile(u"helper.bmx", "Function Helper:String[]()\n\tReturn ReadFolder(\".\")\n"
                                     "End Function\n");
    editor.Notify("textDocument/didChange",
                  Json{{"textDocument", Json{{"uri", uri}, {"version", 2}}},
                       {"contentChanges", Json::array({Json{{"text", main + "\n"}}})}});
    Json afterEdit = editor.Diagnostics(uri);
    if (watching) {
      EXPECT_EQ(afterEdit, Json::array());
      editor.Notify("workspace/didChangeWatchedFiles",
                    Json{{"changes", Json::array({Json{{"uri", UriFromPath(project / u"helper.bmx")},
                                                       {"type", 2}}})}});
      afterEdit = editor.Diagnostics(uri);
    }
    EXPECT_EQ(Messages(afterEdit),
              std::vector<std::string>{"missing Import BRL.Path (ReadFolder at helper.bmx:2)"});
  }
}

}  // namespace
}  // namespace vt::lsp
