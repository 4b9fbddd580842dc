// Loading a document file, and what a failed load leaves.

#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "TempDir.h"
#include "XmlTestSupport.h"

namespace wf {
namespace {

using testing::Lines;
using testing::TempDir;
using testing::TraceFile;

TEST(Loading, FileIsHeldWholeWithOneNulAfterIt) {
  TempDir dir;
  std::string path = dir.Write("doc.xml", "<a/>");
  TXmlScanner s;
  s.SetFilename(path);
  EXPECT_EQ(s.Filename(), path);
  EXPECT_EQ(s.Parser->BufferSize(), 5);
  EXPECT_EQ(std::string(s.Parser->Buffer(), 5), std::string("<a/>\0", 5));
  EXPECT_EQ(TraceFile(path), (Lines{"EmptyTag \"a\""}));
}

TEST(Loading, FilesThatCannotBeReadGiveAnEmptyDocumentSilently) {
  TempDir dir;
  std::filesystem::create_directories(dir.Path() / "sub");
  const std::string paths[] = {dir.File("missing.xml"), (dir.Path() / "sub").string(), ""};
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    TXmlScanner s;
    s.SetFilename(dir.Write("good.xml", "<a/>"));  // a failed load also drops what was held
    s.SetFilename(path);
    EXPECT_EQ(s.Filename(), "") << path;
    EXPECT_EQ(s.Parser->Buffer(), nullptr);
    EXPECT_EQ(s.Parser->BufferSize(), 0);
    EXPECT_EQ(TraceFile(path), Lines{}) << path;
  }
}

#ifndef _WIN32
TEST(Loading, DevicesAndPipesAreNotReadAsDocuments) {
  TempDir dir;
  std::string fifo = dir.File("fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {std::string("/dev/zero"), fifo}) {
    TXmlScanner s;
    s.SetFilename(path);  // would read without end, or wait for a writer
    EXPECT_EQ(s.Filename(), "") << path;
    EXPECT_EQ(s.Parser->Buffer(), nullptr) << path;
  }
}
#endif

TEST(Loading, NulEndsTheDocument) {
  TempDir dir;
  EXPECT_EQ(TraceFile(dir.Write("empty.xml", "")), Lines{});
  EXPECT_EQ(TraceFile(dir.Write("nul.xml", std::string("\0<a/>", 5))), Lines{});
  EXPECT_EQ(TraceFile(dir.Write("mid.xml", std::string("<a/>\0<b/>", 9))), (Lines{"EmptyTag \"a\""}));
  EXPECT_EQ(TraceFile(dir.Write("val.xml", std::string("<a k='x\0y'/><b/>", 16))),
            (Lines{"StartTag \"a\" \"k\"=\"x\"/Normal/Unknown"}));
}

TEST(Loading, EveryLoadSetsNormalizeAgain) {
  TempDir dir;
  std::string path = dir.Write("doc.xml", "<a> x </a>");
  TXmlScanner s;
  s.SetNormalize(false);
  s.SetFilename(path);
  EXPECT_TRUE(s.Normalize());
  s.SetNormalize(false);
  s.SetFilename(dir.File("missing.xml"));
  EXPECT_TRUE(s.Normalize());
}

TEST(Loading, SecondScanStartsAgainFromTheBeginning) {
  testing::TracedScanner t;
  t.Load("<a>x</a><!-- c -->");
  Lines first = t.Scan();
  EXPECT_EQ(first.size(), 4u);
  EXPECT_EQ(t.Scan(), first);
}

}  // namespace
}  // namespace wf
