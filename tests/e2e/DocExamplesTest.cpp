// Every script example of the documentation (README.md and docs/*.md) runs on the sample disc, so
// that an example an author copies works as printed.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "ProgramRun.h"

using e2e::fs::path;

namespace {

struct CodeBlock {
    std::string file;
    int line = 0;  // of its first line
    std::string text;
};

// The code blocks of a Markdown text: fenced ones and those indented by four blanks after a blank
// line.
std::vector<CodeBlock> CodeBlocks(const std::string& file, const std::string& markdown) {
    std::vector<std::string> lines;
    std::istringstream in(markdown);
    for (std::string l; std::getline(in, l);) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        lines.push_back(l);
    }
    std::vector<CodeBlock> blocks;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].rfind("```", 0) == 0) {
            CodeBlock b{file, int(i) + 2, {}};
            for (++i; i < lines.size() && lines[i].rfind("```", 0) != 0; ++i) b.text += lines[i] + "\n";
            blocks.push_back(b);
            continue;
        }
        if (lines[i].rfind("    ", 0) != 0 || (i > 0 && !lines[i - 1].empty())) continue;
        CodeBlock b{file, int(i) + 1, {}};
        for (; i < lines.size() && (lines[i].rfind("    ", 0) == 0 || lines[i].empty()); ++i)
            b.text += (lines[i].empty() ? std::string() : lines[i].substr(4)) + "\n";
        blocks.push_back(b);
    }
    return blocks;
}

// A block is a script when its first command is one of the script's.
bool IsScript(const std::string& text) {
    static const std::set<std::string> commands = {"click", "dblclick", "press",  "release",
                                                   "move",  "wheel",    "key",    "type",
                                                   "wait",  "answer",   "folder", "screenshot"};
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) {
        std::istringstream words(l);
        std::string first;
        if (!(words >> first) || first[0] == '#') continue;
        return commands.count(first) > 0 || first.rfind("expect-", 0) == 0;
    }
    return false;
}

}  // namespace

TEST(DocExamples, EveryScriptExampleRunsOnTheSampleDisc) {
    E2E_REQUIRE_PROGRAM();
    const path source(CDMENU_SOURCE_DIR);
    std::vector<path> documents = {source / "README.md"};
    for (const auto& e : e2e::fs::directory_iterator(source / "docs"))
        if (e.path().extension() == ".md") documents.push_back(e.path());

    int examples = 0;
    for (const path& doc : documents) {
        for (const CodeBlock& block : CodeBlocks(doc.filename().string(), e2e::ReadText(doc))) {
            if (!IsScript(block.text)) continue;
            ++examples;
            SCOPED_TRACE(block.file + ":" + std::to_string(block.line));
            e2e::Scratch s;
            const path disc = e2e::CopyDisc(s.path);
            e2e::WriteText(s.path / "example.txt", block.text);
            const e2e::RunResult r = e2e::Run({"--headless", "--data", disc.string(), "--root", disc.string(),
                                               "--script", (s.path / "example.txt").string()},
                                              s.path);
            EXPECT_EQ(r.code, 0) << block.text << r.output;
        }
    }
    // The guide has at least one; finding none means the blocks are no longer recognised.
    EXPECT_GE(examples, 1);
}
