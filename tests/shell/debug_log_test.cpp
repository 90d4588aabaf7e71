// The debug log: only a first argument beginning with "-l" starts it, it
// always begins afresh, and a directory that cannot take it changes nothing.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "rig/scratch_dir.h"
#include "base/DebugLog.h"
#include "shell_support.h"

using shell_test::kVersionText;
using shell_test::program;

namespace {

const std::string kHeader = "KIVRASet Debug Log File\n";

// Runs the program with these arguments in dir, ends it with F9 and returns
// its exit status.
int run_and_end(const rig::ScratchDir& dir, std::vector<std::string> argv)
{
    rig::Term t(std::move(argv), 24, 80, {}, dir.path());
    if (!t.wait_text(kVersionText)) {
        ADD_FAILURE() << t.dump();
        return -1;
    }
    t.f9();
    return t.wait_exit();
}

TEST(DebugLog, OnlyAFirstArgumentBeginningWithDashLStartsTheLog)
{
    struct {
        std::vector<std::string> args;
        bool logs;
    } cases[] = {
        {{}, false},          {{"-l"}, true}, {{"-lfoo"}, true}, {{"-lx", "ignored"}, true},
        {{"x", "-l"}, false},  // second argument only
        {{"-L"}, false},      {{"l"}, false}, {{"--l"}, false},
    };
    for (auto& c : cases) {
        rig::ScratchDir dir;
        std::vector<std::string> argv{program()};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        std::string shown = c.args.empty() ? "(none)" : c.args[0];
        ASSERT_EQ(run_and_end(dir, argv), 0) << shown;
        ASSERT_EQ(dir.exists("debug.log"), c.logs) << shown;
        if (!c.logs) continue;
        std::string log = dir.read("debug.log");
        EXPECT_EQ(log.rfind(kHeader + "Initializing Windows\n", 0), 0u) << log;
        EXPECT_TRUE(log.ends_with("Exit\n")) << log;
    }
}

TEST(DebugLog, AnOldLogIsReplacedByTheNewRun)
{
    rig::ScratchDir dir;
    dir.write("debug.log", std::string(5000, 'o') + "old run\n");
    ASSERT_EQ(run_and_end(dir, {program(), "-l"}), 0);
    std::string log = dir.read("debug.log");
    EXPECT_EQ(log.rfind(kHeader, 0), 0u);
    EXPECT_EQ(log.find("old run"), std::string::npos);
}

TEST(DebugLog, ADirectoryThatCannotTakeTheLogChangesNothingForTheOperator)
{
    rig::ScratchDir dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
    std::vector<std::string> argv{program(), "-l"};
    if (::geteuid() == 0) {
        // The superuser writes anywhere: run as nobody to meet the read-only directory.
        argv.insert(argv.begin(),
                    {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"});
    }
    EXPECT_EQ(run_and_end(dir, argv), 0);
    EXPECT_FALSE(dir.exists("debug.log"));
}

TEST(DebugLog, ALogThatIsADirectoryIsIgnoredMessageByMessage)
{
    rig::ScratchDir dir;
    std::filesystem::create_directory(dir.file("debug.log"));
    EXPECT_EQ(run_and_end(dir, {program(), "-l"}), 0);
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("debug.log")));
}

// In-process: the messages as the log writes them.
class LogInDir : public ::testing::Test {
  protected:
    void SetUp() override
    {
        old_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_.path());
        InitDebug();
    }
    void TearDown() override { std::filesystem::current_path(old_); }
    std::string log() const { return dir_.read("debug.log"); }
    rig::ScratchDir dir_;
    std::filesystem::path old_;
};

TEST_F(LogInDir, MessagesAreWrittenAsBytesInOrderWithoutAnythingAdded)
{
    PrnDebug("socket send error\n");
    PrnDebug("no line feed ");
    PrnDebug("runs on\n");
    PrnDebug("%s%n%d 100%\n");  // never a format
    PrnDebug("");
    PrnDebug("KIVRASet");  // shorter than the header mark: an ordinary message
    EXPECT_EQ(log(), kHeader + "socket send error\nno line feed runs on\n%s%n%d 100%\nKIVRASet");
}

TEST_F(LogInDir, AMessageBeginningWithTheHeaderStartsTheFileAgain)
{
    struct {
        const char* message;
        const char* expected;
    } cases[] = {
        {"KIVRASet Debug Log File\n", "KIVRASet Debug Log File\n"},
        {"KIVRASet Debug Log File", "KIVRASet Debug Log File"},  // without its line feed
        {"KIVRASet Debug Log File and more\n", "KIVRASet Debug Log File and more\n"},
    };
    for (auto& c : cases) {
        PrnDebug("before\n");
        PrnDebug(c.message);
        EXPECT_EQ(log(), c.expected) << c.message;
    }
    PrnDebug("after\n");
    EXPECT_EQ(log(), "KIVRASet Debug Log File and more\nafter\n");
}

TEST_F(LogInDir, FormattedMessagesAreCutNotOverrun)
{
    PrnDebugf("model = %d\n", 7);
    std::string big(3000, 'x');
    PrnDebugf("%s", big.c_str());
    std::string l = log();
    EXPECT_EQ(l.rfind(kHeader + "model = 7\n", 0), 0u);
    EXPECT_EQ(l.size(), kHeader.size() + 10 + 1023);
}

TEST_F(LogInDir, ALogRemovedMeanwhileIsCreatedAgainByTheNextMessage)
{
    std::filesystem::remove(dir_.file("debug.log"));
    PrnDebug("again\n");
    EXPECT_EQ(log(), "again\n");
}

}  // namespace
