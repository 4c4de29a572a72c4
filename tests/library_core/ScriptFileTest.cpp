// Script files: the reader and the writer, the loading of a Scripts folder,
// and saving an entry.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "LibraryTestSupport.h"
#include "library/UnitTScriptLibrary.h"

namespace {

namespace fs = std::filesystem;
using kovra::CheckScriptFileName;
using kovra::ComposeScriptFile;
using kovra::NormalizeLine;
using kovra::ReadScriptFile;
using kovra::TScriptLibrary;
using kovra::TScripts;
using kovra_test::FolderNames;
using kovra_test::ReadBytes;
using kovra_test::TTempDir;
using kovra_test::WriteBytes;

using Lines = std::vector<std::string>;

void ExpectEntry(const TScripts& e, const std::string& name, const Lines& url_match,
                 const Lines& nav, const std::string& script) {
  EXPECT_EQ(e.Name, name);
  EXPECT_EQ(e.UrlMatch, url_match);
  EXPECT_EQ(e.Navigate2Set, nav);
  EXPECT_EQ(e.Script, script);
}

TEST(NormalizeLine, DropsBlanksAndNulAndFoldsAsciiLetters) {
  struct Case {
    std::string line, normal;
  };
  const Case cases[] = {
      {"[Url Match]", "[urlmatch]"},
      {" \t [URL  match ]\t ", "[urlmatch]"},
      {"[Navigate2 Set]", "[navigate2set]"},
      {std::string("[Na\0me]\0", 8), "[name]"},
      {"\t\t", ""},
      {"", ""},
      {"\r", "\r"},
      {"\xD6\xD0 \xCE\xC4", "\xD6\xD0\xCE\xC4"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(NormalizeLine(c.line), c.normal);
  }
}

TEST(ComposeScriptFile, WritesTheExactLayout) {
  TScripts e;
  e.Name = "shop";
  e.UrlMatch = {"[Exact Match]   shop.com/a", "[Match it]            *.shop.com/*", "  bare value"};
  e.Navigate2Set = {"[ExUrl]   All Filter", "[Allow]   pay.com", "[Filter]    ads.com  "};
  e.Script = "[Script]\r\nx\r\n[/Script]";
  const std::string expected =
      "[Name]\r\n"
      "\tshop\r\n\r\n\r\n\r\n"
      "[Url Match]\r\n\r\n"
      "\t[Exact Match]\tshop.com/a\r\n"
      "\t[Match it]\t*.shop.com/*\r\n"
      "\t\tbare value\r\n"
      "\r\n"
      "[/Url Match]\r\n\r\n\r\n\r\n"
      "[Navigate2 Set]\r\n\r\n"
      "\t[ExUrl]\t\tAll Filter\r\n"
      "\t[Allow]\t\tpay.com\r\n"
      "\t[Filter]\tads.com  \r\n"
      "\r\n"
      "[/Navigate2 Set]\r\n\r\n\r\n\r\n\r\n\r\n\r\n"
      "[Script]\r\nx\r\n[/Script]\r\n";
  EXPECT_EQ(ComposeScriptFile(e), expected);
}

TEST(ReadScriptFile, ReadsBackWhatTheWriterWrote) {
  TScripts e;
  e.Name = "My Site";
  // Kinds in any spelling come back in the reader's forms.
  e.UrlMatch = {"[Exact match] a.com/x", "[Match it]            *.b.org/*",
                "[EXACT MATCH]      c.net", "[Match it]   d.com/ trailing  "};
  e.Navigate2Set = {"[ExUrl]   Default", "[Allow]   ok.com", "[Filter]    ads.*.com",
                    "[Allow]   two.com"};
  e.Script = "[Script]\r\n\r\n\r\n\r\n[/Script]";
  const TScripts back = ReadScriptFile(ComposeScriptFile(e));
  ExpectEntry(
      back, "\tMy Site",
      {"[Exact Match]   a.com/x", "[Match it]            *.b.org/*", "[Exact Match]   c.net",
       "[Match it]            d.com/ trailing  "},
      {"[ExUrl]   Default", "[Allow]   ok.com", "[Filter]    ads.*.com", "[Allow]   two.com"},
      "\r\n\r\n\r\n\r\n\r\n\r\n[Script]\r\n\r\n\r\n\r\n[/Script]\r\n");

  // A name line with nothing but blanks is passed over: the next marker
  // becomes the name and the URL-match section goes unread.
  TScripts blank = e;
  blank.Name = " ";
  ExpectEntry(
      ReadScriptFile(ComposeScriptFile(blank)), "[Url Match]", {},
      {"[ExUrl]   Default", "[Allow]   ok.com", "[Filter]    ads.*.com", "[Allow]   two.com"},
      "\r\n\r\n\r\n\r\n\r\n\r\n[Script]\r\n\r\n\r\n\r\n[/Script]\r\n");
}

TEST(ReadScriptFile, SectionsAndEntryLines) {
  struct Case {
    const char* label;
    std::string file;
    std::string name;
    Lines url_match, nav;
    std::string script;
  };
  const Case cases[] = {
      {"entry lines: keys in any spelling, spaces-only separators, unknown keys",
       "[Name]\r\nn\r\n[URL MATCH]\r\n"
       "\t[Exact match]\t\ta.com\r\n"
       "[EXACT MATCH]\t b.com\r\n"
       "  [ Exact Match ]\tc.com  \r\n"
       "[Exact Match]   spaces.com\r\n"
       "\r\n"
       "[Allow]\twrong.section\r\n"
       "[Match it]\t\t\td.com\tx\r\n"
       "[/Url Match]\r\n"
       "[Navigate2 Set]\r\n[exurl]\tAll Allow\r\n[ALLOW]\tx.com\r\n[filter]\ty.com\r\n[Match "
       "it]\tno\r\n"
       "[/Navigate2 Set]\r\n",
       "n",
       {"[Exact Match]   a.com", "[Exact Match]   b.com", "[Exact Match]   c.com  ",
        "[Match it]            d.com\tx"},
       {"[ExUrl]   All Allow", "[Allow]   x.com", "[Filter]    y.com"},
       ""},
      {"url section without closing marker: the navigation step still finds its section",
       "[Name]\r\nn\r\n[Url Match]\r\n[Exact Match]\ta.com\r\n[Navigate2 Set]\r\n[Allow]\tb.com\r\n"
       "[/Navigate2 Set]\r\nrest\r\n",
       "n",
       {},
       {"[Allow]   b.com"},
       "rest\r\n"},
      {"navigation before url match: the url section ends up in the script",
       "[Name]\r\nn\r\n[Navigate2 Set]\r\n[Allow]\tb.com\r\n[/Navigate2 Set]\r\n"
       "[Url Match]\r\n[Exact Match]\ta.com\r\n[/Url Match]\r\n",
       "n",
       {},
       {"[Allow]   b.com"},
       "[Url Match]\r\n[Exact Match]\ta.com\r\n[/Url Match]\r\n"},
      {"name followed by the url marker: the marker is the name",
       "[Name]\r\n\r\n \t\r\n[Url Match]\r\n[Exact Match]\ta.com\r\n[/Url "
       "Match]\r\n[Script]\r\nx\r\n",
       "[Url Match]",
       {},
       {},
       "[Script]\r\nx\r\n"},
      {"only a script section",
       "[Script]\r\n[Name]\r\nx\r\n[/Script]",
       "",
       {},
       {},
       "[Script]\r\n[Name]\r\nx\r\n[/Script]\r\n"},
      {"the name line is kept as written",
       "junk\r\n[name]\r\n\r\n\t My Name  \r\n",
       "\t My Name  ",
       {},
       {},
       ""},
      {"name marker at the end", "[Name]\r\n\r\n", "", {}, {}, ""},
      {"a section marker before the name ends the name step",
       "[Url Match]\r\n[Name]\r\nn\r\n[/Url Match]\r\n",
       "",
       {},
       {},
       ""},
      {"navigation section without closing marker: the lines after it are the script",
       "[Navigate2 Set]\r\n[Allow]\tb.com\r\n[Script]\r\nbody",
       "",
       {},
       {},
       "[Allow]\tb.com\r\n[Script]\r\nbody\r\n"},
      {"nothing recognisable", "hello\r\nworld", "", {}, {}, ""},
      {"empty file", "", "", {}, {}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ExpectEntry(ReadScriptFile(c.file), c.name, c.url_match, c.nav, c.script);
  }
}

TEST(ReadScriptFile, AcceptsAnyLineEndAndOddBytes) {
  const std::string crlf =
      "[Name]\r\n\tn\r\n[Url Match]\r\n\t[Exact Match]\ta.com\r\n[/Url Match]\r\n"
      "[Navigate2 Set]\r\n\t[Allow]\tb.com\r\n[/Navigate2 Set]\r\n[Script]\r\nx";
  auto replaced = [&](const std::string& end) {
    std::string out;
    for (size_t i = 0; i < crlf.size(); ++i) {
      if (crlf.compare(i, 2, "\r\n") == 0) {
        out += end;
        ++i;
      } else {
        out += crlf[i];
      }
    }
    return out;
  };
  struct Case {
    const char* label;
    std::string file;
  };
  const Case cases[] = {
      {"CR LF, no line end after the last line", crlf},
      {"CR LF, final line end", crlf + "\r\n"},
      {"LF only", replaced("\n")},
      {"CR only", replaced("\r")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ExpectEntry(ReadScriptFile(c.file), "\tn", {"[Exact Match]   a.com"}, {"[Allow]   b.com"},
                "[Script]\r\nx\r\n");
  }

  // NUL bytes: markers still read, values and names keep them.
  static const char kNulFile[] =
      "[Na\0me]\r\nn\0x\r\n[Url Match]\r\n[Exact\0Match]\ta\0.com\r\n[/Url Match]\r\n";
  const std::string nul_file(kNulFile, sizeof kNulFile - 1);
  ExpectEntry(ReadScriptFile(nul_file), std::string("n\0x", 3),
              {std::string("[Exact Match]   a\0.com", 22)}, {}, "");

  // A 1 MB name line and a 1 MB script line.
  const std::string big(1 << 20, 'a');
  ExpectEntry(ReadScriptFile("[Name]\r\n" + big + "\r\n[Script]\r\n" + big), big, {}, {},
              "[Script]\r\n" + big + "\r\n");
}

TEST(ReadScriptFile, GarbageNeverBreaksTheReader) {
  // Random bytes mixed with pieces of markers; whatever comes out keeps the
  // reader's forms.
  const std::string pieces[] = {"[Name]",
                                "[Url Match]",
                                "[/Url Match]",
                                "[Navigate2 Set]",
                                "[/Navigate2 Set]",
                                "[Script]",
                                "[Exact Match]",
                                "[Match it]",
                                "[Allow]",
                                "[Filter]",
                                "[ExUrl]",
                                "\t",
                                "\r\n",
                                "\n",
                                "\r",
                                " ",
                                std::string(1, '\0'),
                                "x.com"};
  std::mt19937 rng(20240611);
  for (int round = 0; round < 2000; ++round) {
    std::string file;
    const int parts = static_cast<int>(rng() % 40);
    for (int i = 0; i < parts; ++i) {
      if (rng() % 3 == 0) {
        file += static_cast<char>(rng() % 256);
      } else {
        file += pieces[rng() % std::size(pieces)];
      }
    }
    SCOPED_TRACE(testing::PrintToString(file));
    const TScripts e = ReadScriptFile(file);
    for (const std::string& u : e.UrlMatch) {
      EXPECT_TRUE(u.starts_with("[Exact Match]   ") || u.starts_with("[Match it]            "))
          << u;
    }
    for (const std::string& n : e.Navigate2Set) {
      EXPECT_TRUE(n.starts_with("[ExUrl]   ") || n.starts_with("[Allow]   ") ||
                  n.starts_with("[Filter]    "))
          << n;
    }
    EXPECT_TRUE(e.Script.empty() || e.Script.ends_with("\r\n"));
    EXPECT_LE(e.Script.size(), file.size() * 2 + 2);
    if (HasFailure()) break;
  }
}

// ---- Loading a Scripts folder -----------------------------------------------

std::string NamedFile(const std::string& name) {
  return "[Name]\r\n" + name + "\r\n[Script]\r\nx\r\n";
}

TEST(TScriptLibraryLoad, EveryKsFileMakesOneEntry) {
  TTempDir dir;
  const fs::path scripts = dir / "Scripts";
  WriteBytes(scripts / "a.ks", NamedFile("alpha"));
  WriteBytes(scripts / "b.ks", NamedFile("beta"));
  WriteBytes(scripts / "garbage.ks", std::string("\x00\xFF\x81[\r\n\t]", 8));
  WriteBytes(scripts / "empty.ks", "");
  WriteBytes(scripts / "notes.txt", NamedFile("not a script"));
  WriteBytes(scripts / "c.ks.bak", NamedFile("backup"));
  WriteBytes(scripts / "sub" / "d.ks", NamedFile("in a subfolder"));
  fs::create_directories(scripts / "folder.ks");
  // A link to nowhere cannot be read: it still takes an entry.
  fs::create_symlink(dir / "missing-target", scripts / "dangling.ks");

  const TScriptLibrary lib(dir.path());
  ASSERT_EQ(lib.Count(), 5);
  std::multiset<std::string> names;
  for (uint32_t id = 1; id <= 5; ++id) {
    const TScripts* e = lib.Entry(id);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->ID, id);
    names.insert(e->Name);
  }
  EXPECT_EQ(names, (std::multiset<std::string>{"", "", "", "alpha", "beta"}));
  EXPECT_EQ(lib.Entry(0), nullptr);
  EXPECT_EQ(lib.Entry(6), nullptr);
}

TEST(TScriptLibraryLoad, UnreadableFileStillMakesAnEntry) {
  TTempDir dir;
  if (!kovra_test::PermissionsEnforced(dir / "probe"))
    GTEST_SKIP() << "permission bits are not enforced";
  WriteBytes(dir / "Scripts" / "locked.ks", NamedFile("locked"));
  WriteBytes(dir / "Scripts" / "open.ks", NamedFile("open"));
  fs::permissions(dir / "Scripts" / "locked.ks", fs::perms::none);
  const TScriptLibrary lib(dir.path());
  ASSERT_EQ(lib.Count(), 2);
  std::multiset<std::string> names{lib.Entry(1)->Name, lib.Entry(2)->Name};
  EXPECT_EQ(names, (std::multiset<std::string>{"", "open"}));
}

TEST(TScriptLibraryLoad, MissingOrEmptyScriptsFolderGivesAnEmptyLibrary) {
  TTempDir dir;
  const TScriptLibrary missing(dir.path());
  EXPECT_EQ(missing.Count(), 0);
  EXPECT_TRUE(missing.BlackList().empty());
  EXPECT_EQ(missing.GetAutoScriptName("http://www.example.com/"), "");

  fs::create_directories(dir / "Scripts");
  const TScriptLibrary empty(dir.path());
  EXPECT_EQ(empty.Count(), 0);
  EXPECT_EQ(empty.Entry(1), nullptr);
}

TEST(TScriptLibraryLoad, EntriesAreAppendedAndUpdatedInPlace) {
  TTempDir dir;
  TScriptLibrary lib(dir.path());
  lib.ImportScriptText(NamedFile("first"));
  EXPECT_EQ(lib.AddEntry(), 2u);
  ExpectEntry(*lib.Entry(2), "", {}, {}, "");

  TScripts fields;
  fields.ID = 77;  // the ID is not the caller's to change
  fields.Name = "second";
  fields.UrlMatch = {"[Match it]            b.com"};
  lib.UpdateEntry(2, fields);
  EXPECT_EQ(lib.Entry(2)->ID, 2u);
  EXPECT_EQ(lib.Entry(2)->Name, "second");
  lib.UpdateEntry(3, fields);  // no such entry: nothing changes
  EXPECT_EQ(lib.Count(), 2);
  EXPECT_EQ(lib.Entry(1)->Name, "first");
}

// ---- Saving an entry ----------------------------------------------------------

TScriptLibrary& LibraryWithEntry(TScriptLibrary& lib) {
  const uint32_t id = lib.AddEntry();
  TScripts e;
  e.Name = "shop";
  e.UrlMatch = {"[Exact Match]   shop.com"};
  e.Navigate2Set = {"[Allow]   pay.com"};
  e.Script = "[Script]\r\n\r\n\r\n\r\n[/Script]";
  lib.UpdateEntry(id, e);
  return lib;
}

TEST(TScriptLibrarySave, WritesTheFileAndReplacesItWhole) {
  TTempDir dir;
  TScriptLibrary lib(dir.path());
  LibraryWithEntry(lib);
  std::string error = "untouched";
  // The Scripts folder is created when missing.
  ASSERT_TRUE(lib.SaveEntry(1, "shop", &error)) << error;
  EXPECT_EQ(error, "untouched");
  const std::string written = ReadBytes(dir / "Scripts" / "shop.ks");
  EXPECT_EQ(written,
            "[Name]\r\n\tshop\r\n\r\n\r\n\r\n[Url Match]\r\n\r\n\t[Exact "
            "Match]\tshop.com\r\n\r\n[/Url Match]\r\n"
            "\r\n\r\n\r\n[Navigate2 Set]\r\n\r\n\t[Allow]\t\tpay.com\r\n\r\n[/Navigate2 Set]\r\n"
            "\r\n\r\n\r\n\r\n\r\n\r\n[Script]\r\n\r\n\r\n\r\n[/Script]\r\n");

  // A longer old file is replaced whole; no temporary file stays behind.
  WriteBytes(dir / "Scripts" / "shop.ks", std::string(10000, 'z'));
  ASSERT_TRUE(lib.SaveEntry(1, "shop", nullptr));
  EXPECT_EQ(ReadBytes(dir / "Scripts" / "shop.ks"), written);
  EXPECT_EQ(FolderNames(dir / "Scripts"), Lines{"shop.ks"});

  // What was saved loads again with the same lists.
  const TScriptLibrary again(dir.path());
  ASSERT_EQ(again.Count(), 1);
  ExpectEntry(*again.Entry(1), "\tshop", {"[Exact Match]   shop.com"}, {"[Allow]   pay.com"},
              "\r\n\r\n\r\n\r\n\r\n\r\n[Script]\r\n\r\n\r\n\r\n[/Script]\r\n");
}

TEST(TScriptLibrarySave, RefusesNamesThatAreNoFileNames) {
  struct Case {
    std::string name, reason;
  };
  const Case cases[] = {
      {"", "the script has no name"},
      {".", "\".\" cannot be a file name"},
      {"..", "\"..\" cannot be a file name"},
      {"a/b", "the name \"a/b\" holds a path separator"},
      {"../x", "the name \"../x\" holds a path separator"},
      {"..\\x", "the name \"..\\x\" holds a path separator"},
      {"a\tb", "the name holds a control character"},
      {"a\r\nb", "the name holds a control character"},
      {std::string("a\0b", 3), "the name holds a control character"},
      {"a\x7F", "the name holds a control character"},
  };
  TTempDir dir;
  TScriptLibrary lib(dir.path());
  LibraryWithEntry(lib);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.name));
    EXPECT_EQ(CheckScriptFileName(c.name), c.reason);
    std::string error;
    EXPECT_FALSE(lib.SaveEntry(1, c.name, &error));
    EXPECT_EQ(error, c.reason);
  }
  EXPECT_FALSE(fs::exists(dir / "Scripts"));
  EXPECT_EQ(FolderNames(dir.path()), Lines{});

  // Names that are fine, including ones that only look odd.
  for (const std::string name : {"shop", "...", ".hidden", "a b", "\xD6\xD0\xCE\xC4"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(CheckScriptFileName(name), "");
  }

  std::string error;
  EXPECT_FALSE(lib.SaveEntry(9, "shop", &error));
  EXPECT_EQ(error, "no script with ID 9");
}

TEST(TScriptLibrarySave, FailedWriteReportsAndKeepsTheOldFile) {
  TTempDir dir;
  TScriptLibrary lib(dir.path());
  LibraryWithEntry(lib);
  const fs::path target = dir / "Scripts" / "shop.ks";
  WriteBytes(target, "old content");

  // The temporary file cannot be created where a folder stands.
  fs::create_directories(dir / "Scripts" / "shop.ks.saving");
  std::string error;
  EXPECT_FALSE(lib.SaveEntry(1, "shop", &error));
  EXPECT_EQ(error, "cannot write " + target.string() + ".saving: Is a directory");
  EXPECT_EQ(ReadBytes(target), "old content");
  fs::remove(dir / "Scripts" / "shop.ks.saving");

  // The file cannot be replaced where a folder with content stands.
  const fs::path other = dir / "Scripts" / "other.ks";
  WriteBytes(other / "inside", "keep");
  EXPECT_FALSE(lib.SaveEntry(1, "other", &error));
  EXPECT_EQ(error, "cannot replace " + other.string() + ": Is a directory");
  EXPECT_EQ(ReadBytes(other / "inside"), "keep");
  EXPECT_EQ(FolderNames(dir / "Scripts"), (Lines{"other.ks", "shop.ks"}));
}

TEST(TScriptLibrarySave, ReadOnlyFolderReportsTheReason) {
  TTempDir dir;
  if (!kovra_test::PermissionsEnforced(dir / "probe"))
    GTEST_SKIP() << "permission bits are not enforced";
  TScriptLibrary lib(dir.path());
  LibraryWithEntry(lib);
  const fs::path target = dir / "Scripts" / "shop.ks";
  WriteBytes(target, "old content");
  fs::permissions(dir / "Scripts", fs::perms::owner_read | fs::perms::owner_exec);
  std::string error;
  EXPECT_FALSE(lib.SaveEntry(1, "shop", &error));
  EXPECT_EQ(error, "cannot write " + target.string() + ".saving: Permission denied");
  fs::permissions(dir / "Scripts", fs::perms::owner_all);
  EXPECT_EQ(ReadBytes(target), "old content");
}

}  // namespace
