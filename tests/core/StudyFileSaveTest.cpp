#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>

#include "StudyFileTestSupport.h"
#include "StudyFixtures.h"
#include "files/StudyFile.h"
#include "study/CalibrationStudy.h"

namespace ldc {
namespace {

namespace fs = std::filesystem;
using G = StudyGrid;
using testing::errorOf;
using testing::makeStudy;

constexpr uid_t kNobody = 65534;

std::string contentOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

mode_t modeOf(const fs::path& path) {
    struct stat info;
    EXPECT_EQ(::stat(path.c_str(), &info), 0);
    return info.st_mode & 07777;
}

CalibrationStudy smallStudy() {
    return makeStudy(testing::workedExample());
}

// A study file large enough that writing it takes many blocks.
CalibrationStudy largeStudy() {
    testing::StudyOutline outline;
    outline.levelValues = {"1", "2"};
    outline.results = {std::vector<std::string>(3000, "1,2345"),
                       std::vector<std::string>(3000, "2,3456")};
    return makeStudy(outline);
}

// Runs `call` in a child process after `prepare` and returns the error text it raised.
// The child keeps process-wide changes (user, limits, signals) away from the other tests.
std::string errorInChild(const std::function<bool()>& prepare, const std::function<void()>& call) {
    int channel[2];
    if (::pipe(channel) != 0)
        return "(pipe)";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        const std::string message = prepare() ? errorOf(call) : "(preparation failed)";
        [[maybe_unused]] const ssize_t sent = ::write(channel[1], message.data(), message.size());
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string message;
    char buffer[512];
    ssize_t got = 0;
    while ((got = ::read(channel[0], buffer, sizeof buffer)) > 0)
        message.append(buffer, static_cast<std::size_t>(got));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return message;
}

// Permissions do not stop root, so a test that relies on them drops to an ordinary user.
bool becomeOrdinaryUser() {
    if (::geteuid() != 0)
        return true;
    return ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
}

class StudyFileSave : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "ldc-guardar-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
        fs::permissions(m_folder, fs::perms::all);
    }
    void TearDown() override {
        fs::permissions(m_folder, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(m_folder);
    }

    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path m_folder;
};

TEST_F(StudyFileSave, WritesTheStudyAndReadsItBack) {
    const fs::path file = m_folder / "ensayo.w9c";
    const CalibrationStudy study = smallStudy();
    saveStudyFile(file, study);
    EXPECT_EQ(contentOf(file), studyFileBytes(study));
    EXPECT_EQ(entries(), std::vector<std::string>{"ensayo.w9c"});

    CalibrationStudy read;
    openStudyFile(file, read);
    testing::expectSameStudyContent(read, study);
    EXPECT_EQ(read.caption(), file.string());
}

TEST_F(StudyFileSave, ANewFileGetsTheUsualPermissionsAndAnOldOneKeepsItsOwn) {
    const mode_t savedMask = ::umask(027);
    saveStudyFile(m_folder / "nuevo.w9c", smallStudy());
    ::umask(savedMask);
    EXPECT_EQ(modeOf(m_folder / "nuevo.w9c"), 0640u);

    const fs::path old = m_folder / "viejo.w9c";
    writeFile(old, "antes");
    ::chmod(old.c_str(), 0604);
    saveStudyFile(old, smallStudy());
    EXPECT_EQ(modeOf(old), 0604u);
    EXPECT_EQ(contentOf(old), studyFileBytes(smallStudy()));
}

TEST_F(StudyFileSave, ThroughASymbolicLinkReplacesTheFileItNames) {
    fs::create_directory(m_folder / "datos");
    writeFile(m_folder / "datos" / "real.w9c", "antes");
    fs::create_symlink("datos/real.w9c", m_folder / "enlace.w9c");
    fs::create_symlink("datos/falta.w9c", m_folder / "colgante.w9c");

    saveStudyFile(m_folder / "enlace.w9c", smallStudy());
    EXPECT_TRUE(fs::is_symlink(m_folder / "enlace.w9c"));
    EXPECT_EQ(contentOf(m_folder / "datos" / "real.w9c"), studyFileBytes(smallStudy()));

    saveStudyFile(m_folder / "colgante.w9c", smallStudy());
    EXPECT_TRUE(fs::is_symlink(m_folder / "colgante.w9c"));
    EXPECT_EQ(contentOf(m_folder / "datos" / "falta.w9c"), studyFileBytes(smallStudy()));
    EXPECT_EQ(entries(), (std::vector<std::string>{"colgante.w9c", "datos", "enlace.w9c"}));
}

TEST_F(StudyFileSave, AFailedSaveLeavesTheOldFileWholeAndNoTemporaryBehind) {
    const fs::path file = m_folder / "ensayo.w9c";
    const std::string old = studyFileBytes(smallStudy());
    CalibrationStudy unencodable = largeStudy();
    unencodable.setCell(G::stgdatos, 1, 5000, "≈2");

    struct Row {
        const char* name;
        std::function<bool()> prepare;  // runs in the child process
        const CalibrationStudy* study;
        std::string message;
    } rows[] = {
        {"character the file cannot hold", [] { return true; }, &unencodable,
         "No se puede guardar el estudio: el carácter \"≈\" (U+2248), en el dato de la fila "
         "5000, no existe en la codificación Windows-1252 de los archivos de estudio."},
        {"disk filling up part-way",
         [] {
             // Writes beyond the limit fail with EFBIG, as on a full disk.
             std::signal(SIGXFSZ, SIG_IGN);
             rlimit limit{};
             ::getrlimit(RLIMIT_FSIZE, &limit);
             limit.rlim_cur = 4096;
             return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
         },
         nullptr, "Disk full"},
        {"read-only folder",
         [this] {
             ::chmod(m_folder.c_str(), 0555);
             return becomeOrdinaryUser();
         },
         nullptr, "File access denied"},
        {"read-only file",
         [file] {
             ::chmod(file.c_str(), 0444);
             return becomeOrdinaryUser();
         },
         nullptr, "File access denied"},
    };
    const CalibrationStudy large = largeStudy();
    for (const Row& row : rows) {
        writeFile(file, old);
        ::chmod(file.c_str(), 0666);
        ::chmod(m_folder.c_str(), 0777);
        const CalibrationStudy& study = row.study != nullptr ? *row.study : large;
        EXPECT_EQ(errorInChild(row.prepare, [&] { saveStudyFile(file, study); }), row.message)
            << row.name;
        EXPECT_EQ(contentOf(file), old) << row.name;
        EXPECT_EQ(entries(), std::vector<std::string>{"ensayo.w9c"}) << row.name;
    }
}

TEST_F(StudyFileSave, ReportsFileSystemErrorsWithTheRuntimeMessages) {
    fs::create_directory(m_folder / "carpeta.w9c");
    EXPECT_EQ(errorOf([&] { saveStudyFile(m_folder / "falta" / "e.w9c", smallStudy()); }),
              "Invalid filename");
    EXPECT_EQ(errorOf([&] { saveStudyFile(m_folder / "carpeta.w9c", smallStudy()); }),
              "File access denied");
    EXPECT_EQ(entries(), std::vector<std::string>{"carpeta.w9c"});

    CalibrationStudy study;
    EXPECT_EQ(errorOf([&] { openStudyFile(m_folder / "falta.w9c", study); }), "File not found");
    EXPECT_EQ(errorOf([&] { openStudyFile(m_folder / "falta" / "e.w9c", study); }),
              "Invalid filename");
    EXPECT_EQ(errorOf([&] { openStudyFile(m_folder / "carpeta.w9c", study); }),
              "File access denied");
    EXPECT_EQ(study.caption(), "Nuevo") << "nothing is filled when reading fails";
}

}  // namespace
}  // namespace ldc
