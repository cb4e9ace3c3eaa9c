#include "files/StudyFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <optional>

#include "files/Cp1252.h"
#include "files/FileBytes.h"
#include "files/FileErrors.h"
#include "study/LdcError.h"
#include "study/Numbers.h"
#include "study/StudyLayout.h"

namespace ldc {
namespace {

constexpr char kCtrlZ = '\x1a';
constexpr std::size_t kReadChunk = 64 * 1024;

// Hands out the file's lines in order, then empty texts once the readable text is over.
class LineReader {
public:
    explicit LineReader(std::string_view bytes) : m_text(bytes.substr(0, bytes.find(kCtrlZ))) {}

    std::string next() {
        ++m_line;
        std::string line;
        if (m_pos >= m_text.size()) {
            if (m_firstMissing == 0)
                m_firstMissing = m_line;
            return line;
        }
        std::size_t end = m_text.find('\r', m_pos);
        if (end == std::string_view::npos)
            end = m_text.size();
        line.reserve(end - m_pos);
        appendUtf8FromCp1252(line, m_text.substr(m_pos, end - m_pos));
        m_pos = end;
        if (m_pos < m_text.size()) {
            ++m_pos;
            if (m_pos < m_text.size() && m_text[m_pos] == '\n')
                ++m_pos;
        }
        return line;
    }

    // The number of the line next() returned last, from 1.
    int lineNumber() const { return m_line; }
    // Whether line `number` lay beyond the end of the readable text.
    bool missing(int number) const { return m_firstMissing != 0 && number >= m_firstMissing; }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
    int m_line = 0;
    int m_firstMissing = 0;
};

constexpr const char* kOpenRefusal = "No se puede abrir el estudio: ";
constexpr const char* kSaveRefusal = "No se puede guardar el estudio: ";

std::string levelsOutOfRange(const char* operation, int levels) {
    return std::string(operation) + "el número de niveles (" + integerText(levels) +
           ") debe estar entre 0 y " + integerText(kMaxFileLevels) + ".";
}

// A file larger than any study; `size` is what it measures, when known before reading.
std::string tooLarge(std::optional<long long> size) {
    return std::string(kOpenRefusal) + "el archivo ocupa " +
           (size ? integerText(*size) + " bytes, " : "") + "más de los " +
           integerText(kMaxFileBytes / (1024 * 1024)) + " MiB que ocupa como mucho un estudio.";
}

std::string rowsOutOfRange(const char* operation, long long rows) {
    return std::string(operation) + "el número total de réplicas (" + integerText(rows) +
           ") debe estar entre 0 y " + integerText(kMaxFileRows) + ".";
}

std::string blanksOutOfRange(const char* operation, long long blanks) {
    return std::string(operation) + "el número de lecturas de blancos (" + integerText(blanks) +
           ") debe estar entre 0 y " + integerText(kMaxFileBlanks) + ".";
}

// The line that announces the blank readings after the data, e.g. "blancos: 4".
constexpr std::string_view kBlanksStart = "blancos: ";

constexpr std::string_view kInProgressStart = "estudio en curso: niveles ";
constexpr std::string_view kInProgressRows = ", filas ";

// The line that takes the place of the data count in a study saved in progress, e.g.
// "estudio en curso: niveles 3, filas 9": the level table's levels and the results table's rows.
std::string inProgressLine(int levels, int rows) {
    return std::string(kInProgressStart) + integerText(levels) + std::string(kInProgressRows) +
           integerText(rows);
}

// The table sizes an in-progress line gives; nothing for any other line.
struct TableSizes {
    int levels;
    int rows;
};
std::optional<TableSizes> inProgressSizes(const std::string& line) {
    if (!line.starts_with(kInProgressStart))
        return std::nullopt;
    const std::size_t rowsAt = line.find(kInProgressRows, kInProgressStart.size());
    if (rowsAt == std::string::npos)
        return std::nullopt;
    const auto levels =
        integerValue(line.substr(kInProgressStart.size(), rowsAt - kInProgressStart.size()));
    const auto rows = integerValue(line.substr(rowsAt + kInProgressRows.size()));
    if (!levels || !rows)
        return std::nullopt;
    return TableSizes{*levels, *rows};
}

void checkLimits(const char* operation, long long levels, long long rows) {
    if (levels < 0 || levels > kMaxFileLevels)
        throw Error(levelsOutOfRange(operation, static_cast<int>(levels)));
    if (rows < 0 || rows > kMaxFileRows)
        throw Error(rowsOutOfRange(operation, rows));
}

// The level count typed in the study, when it could place the levels of a complete file.
int placedLevels(const std::string& levelCountText) {
    const std::optional<int> typed = integerValue(levelCountText);
    return typed && *typed >= 0 && *typed <= kMaxFileLevels ? *typed : 0;
}

std::string baseName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return visibleText(slash == std::string::npos ? path : path.substr(slash + 1));
}

// The start of a context line: "No se pudo abrir el estudio «ejemplo.w9c»".
std::string failedTo(const char* operation, const std::string& path) {
    std::string what = std::string("No se pudo ") + operation + " el estudio";
    if (!path.empty())
        what += " «" + baseName(path) + "»";
    return what;
}

// A whole number the file must hold at `line`; a conversion error says which line and
// what it gives, or that the file ended before it.
int wholeNumberAt(const std::string& text, const LineReader& lines, int line,
                  const std::string& what, const std::string& opening) {
    return withErrorContext([&] { return parseInteger(text); },
                            [&] {
                                const std::string at = "línea " + integerText(line);
                                return opening + ": " +
                                       (lines.missing(line)
                                            ? "el archivo termina antes de la " + at + ", " + what
                                            : what + " (" + at + ") no es un número entero") +
                                       ".";
                            });
}

// Where a value of the study sits, in the analyst's words, for the writer's refusals.
struct Place {
    enum class Kind {
        field,
        levelValue,
        replicateCount,
        countLine,
        result,
        secondValue,
        blankCountLine,
        blankReading
    };
    Kind kind;
    int index;  // the field, the level or the data row

    std::string describe() const {
        static constexpr const char* kFields[] = {
            "el método",
            "el analista",
            "la fecha",
            "las unidades de la cantidad adicionada",
            "las unidades de la cantidad recuperada",
            "la base de los límites",
            "el número de niveles",
        };
        switch (kind) {
            case Kind::field:
                return kFields[index];
            case Kind::levelValue:
                return "el valor del nivel " + integerText(index);
            case Kind::replicateCount:
                return "las réplicas del nivel " + integerText(index);
            case Kind::countLine:
                return "el número total de réplicas";
            case Kind::result:
                return "el dato de la fila " + integerText(index);
            case Kind::secondValue:
                return "el segundo valor de la fila " + integerText(index);
            case Kind::blankCountLine:
                return "el número de lecturas de blancos";
            case Kind::blankReading:
                return "la lectura de blanco " + integerText(index);
        }
        return {};
    }
};

// Appends one value and its CR LF. A value that would not read back as the same text
// is refused: a CR would end it early, a Ctrl-Z would end the whole file there, and a
// character outside Windows-1252 would have to be replaced by another.
void appendLine(std::string& out, const std::string& value, Place place) {
    const std::size_t breaking = value.find_first_of("\r\x1a");
    if (breaking != std::string::npos) {
        const char* what = value[breaking] == '\r'
                               ? "un retorno de carro (CR), que partiría la línea"
                               : "un carácter Ctrl-Z (26), que cortaría el archivo";
        throw Error(std::string(kSaveRefusal) + "en " + place.describe() + " hay " + what + ".");
    }
    Cp1252Refusal refusal;
    if (!appendCp1252FromUtf8(out, value, refusal)) {
        if (refusal.kind == Cp1252Refusal::Kind::invalidUtf8)
            throw Error(std::string(kSaveRefusal) + "en " + place.describe() +
                        " hay bytes que no forman un texto UTF-8 válido.");
        throw Error(std::string(kSaveRefusal) + describeCharacter(refusal.character) + ", en " +
                    place.describe() +
                    ", no existe en la codificación Windows-1252 de los archivos de estudio.");
    }
    out += "\r\n";
}

// Closes the descriptor and, unless the save completed, removes the temporary file.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string saving) : m_saving(std::move(saving)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        closeQuietly();
        if (!m_path.empty())
            ::unlink(m_path.c_str());
    }

    void create(const std::string& folder) {
        for (int attempt = 0;; ++attempt) {
            const std::string path = folder + ".w9c-" + integerText(::getpid()) + "-" +
                                     integerText(s_counter++) + ".tmp";
            // 0666 lets the umask decide, as for any new file.
            m_fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (m_fd >= 0) {
                m_path = path;
                return;
            }
            if (errno != EEXIST || attempt == 100)
                throwPathError(path, errno, m_saving);
        }
    }

    int fd() const { return m_fd; }
    const std::string& path() const { return m_path; }

    void writeAll(const std::string& bytes) {
        writeAllBytes(m_fd, bytes, m_saving);
        if (::fsync(m_fd) != 0)
            throwIoError(errno, m_saving);
    }

    void close() {
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0)
            throwIoError(errno, m_saving);
    }

    void renameTo(const std::string& target) {
        if (::rename(m_path.c_str(), target.c_str()) != 0)
            throwPathError(target, errno, m_saving);
        m_path.clear();
    }

private:
    void closeQuietly() {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

    static inline unsigned s_counter = 0;
    std::string m_saving;  // the context of its failures
    int m_fd = -1;
    std::string m_path;
};

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The file a save really replaces: a symbolic link is followed to the file it names,
// so that the link stays a link. Returns false in `exists` for a file yet to be made.
std::string resolveTarget(const std::string& path, struct stat& info, bool& exists,
                          const std::string& saving) {
    std::string target = path;
    for (int hops = 0;; ++hops) {
        if (::lstat(target.c_str(), &info) != 0) {
            if (errno != ENOENT)
                throwPathError(target, errno, saving);
            exists = false;
            return target;
        }
        if (!S_ISLNK(info.st_mode))
            break;
        if (hops == 40)
            throwIoError(ELOOP, saving);
        std::string link(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 4096), '\0');
        const ssize_t length = ::readlink(target.c_str(), link.data(), link.size());
        if (length < 0)
            throwPathError(target, errno, saving);
        link.resize(static_cast<std::size_t>(length));
        target = (!link.empty() && link.front() == '/') ? link : folderOf(target) + link;
    }
    exists = true;
    return target;
}

// The complete form holds the study exactly when the level count gives the level table's
// levels and the replicate counts, whole numbers of zero or more, add up to the data rows.
bool holdsAsComplete(const StudyDocument& study, int levels, long long rows) {
    const std::optional<int> typed = integerValue(study.text(StudyField::levelCount));
    if (!typed || *typed != levels)
        return false;
    long long sum = 0;
    for (int i = 1; i <= levels; ++i) {
        const std::optional<int> count = integerValue(replicateCountText(study, i));
        if (!count || *count < 0)
            return false;
        sum += *count;
    }
    return sum == rows;
}

// The blank readings after the data. Any line there but "blancos: B" leaves the study
// without blank readings, as every file from before them reads.
std::vector<std::string> readBlankReadings(LineReader& lines, const std::string& opening) {
    const std::string announce = lines.next();
    if (!announce.starts_with(kBlanksStart))
        return {};
    const int announceLine = lines.lineNumber();
    const int count = wholeNumberAt(announce.substr(kBlanksStart.size()), lines, announceLine,
                                    "el número de lecturas de blancos", opening);
    if (count < 0 || count > kMaxFileBlanks)
        throw Error(blanksOutOfRange(kOpenRefusal, count));
    std::vector<std::string> readings(static_cast<std::size_t>(count));
    for (int i = 1; i <= count; ++i) {
        readings[i - 1] = lines.next();
        // A reading that is missing is not an empty one: the file was cut short.
        if (lines.missing(lines.lineNumber()))
            throw Error("Faltan lecturas de blancos: la línea " + integerText(announceLine) +
                            " anuncia " + integerText(count) + " y el archivo termina tras " +
                            integerText(i - 1) + ".",
                        opening + ".");
    }
    return readings;
}

}  // namespace

StudyFileData parseStudyFile(std::string_view bytes, const std::string& fileName) {
    const std::string opening = failedTo("abrir", fileName);
    LineReader lines(bytes);
    StudyFileData data;
    for (std::string& field : data.fields)
        field = lines.next();
    const std::string& levelCountText = data.fields[static_cast<int>(StudyField::levelCount)];

    // The levels the level count places before the data count; in a study saved in
    // progress, which has no level count to go by, the rest follow the in-progress line.
    data.levels.resize(static_cast<std::size_t>(placedLevels(levelCountText)));
    for (auto& level : data.levels) {
        level[0] = lines.next();
        level[1] = lines.next();
    }
    const std::string countLine = lines.next();
    const int countLineNumber = lines.lineNumber();

    std::size_t rows = 0;
    if (const std::optional<TableSizes> sizes = inProgressSizes(countLine)) {
        checkLimits(kOpenRefusal, sizes->levels, sizes->rows);
        const std::size_t placed = data.levels.size();
        data.levels.resize(static_cast<std::size_t>(sizes->levels));
        for (std::size_t i = placed; i < data.levels.size(); ++i) {
            data.levels[i][0] = lines.next();
            data.levels[i][1] = lines.next();
        }
        rows = static_cast<std::size_t>(sizes->rows);
    } else {
        const int levels = wholeNumberAt(levelCountText, lines, 7, "el número de niveles", opening);
        checkLimits(kOpenRefusal, levels, 0);
        const int count = wholeNumberAt(countLine, lines, countLineNumber,
                                        "el número total de réplicas", opening);
        checkLimits(kOpenRefusal, levels, count);
        // The replicate counts place the data rows of every level: a count that is not a
        // whole number, or below zero, would put them out of place.
        for (int i = 1; i <= levels; ++i) {
            const std::string what = "el número de réplicas del nivel " + integerText(i);
            const int replicates =
                wholeNumberAt(data.levels[i - 1][1], lines, 7 + 2 * i, what, opening);
            if (replicates < 0)
                throw Error(std::string(kOpenRefusal) + what + " (" + integerText(replicates) +
                            ") no puede ser negativo.");
        }
        rows = static_cast<std::size_t>(count);
    }
    data.rows.resize(rows);
    // Stored column by column: all recovered amounts, then all second values.
    for (std::size_t column = 0; column < 2; ++column)
        for (auto& row : data.rows)
            row[column] = lines.next();
    data.blanks = readBlankReadings(lines, opening);
    return data;
}

void applyStudyFileData(const StudyFileData& data, StudyDocument& study,
                        const std::string& caption) {
    const int levels = static_cast<int>(data.levels.size());
    const int rows = static_cast<int>(data.rows.size());
    for (std::size_t i = 0; i < data.fields.size(); ++i)
        study.setText(static_cast<StudyField>(i), data.fields[i]);
    setLevelsInTable(study, levels);
    setResultRows(study, rows);
    study.setCaption(caption);

    for (int i = 1; i <= levels; ++i) {
        setLevelValueText(study, i, data.levels[i - 1][0]);
        setReplicateCountText(study, i, data.levels[i - 1][1]);
    }
    for (int i = 1; i <= levels; ++i)
        setLevelHeaderText(study, i, levelHeader(i));
    for (int r = 1; r <= rows; ++r)
        setRecoveredAmountText(study, r, data.rows[r - 1][0]);
    for (int r = 1; r <= rows; ++r)
        setSecondValueText(study, r, data.rows[r - 1][1]);
    // A study saved in progress may hold a count still empty: the rows after it have no
    // place to go by, and stay unlabelled as they were when it was saved.
    int labelled = 0;
    while (labelled < levels && integerValue(data.levels[labelled][1]))
        ++labelled;
    writeRowLabels(study, labelled);
    study.setBlankReadings(data.blanks);
}

void openStudyFile(const std::string& path, StudyDocument& study) {
    const std::string opening = failedTo("abrir", path);
    // Not blocking on a FIFO with no writer: what is not a regular file is refused below.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        throwPathError(path, errno, opening);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};

    struct stat info;
    if (::fstat(fd, &info) != 0)
        throwIoError(errno, opening);
    if (S_ISDIR(info.st_mode))
        throw Error(kOpenRefusal + ("«" + baseName(path) + "» es una carpeta, no un archivo."));
    if (!S_ISREG(info.st_mode))
        throw Error(kOpenRefusal + ("«" + baseName(path) +
                                    "» no es un archivo de datos, sino un dispositivo, una "
                                    "tubería u otro archivo especial."));
    if (static_cast<unsigned long long>(info.st_size) > kMaxFileBytes)
        throw Error(tooLarge(info.st_size));

    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    char chunk[kReadChunk];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throwIoError(errno, opening);
        if (got == 0)
            break;
        bytes.append(chunk, static_cast<std::size_t>(got));
        // A file that grows while it is read is held to the same bound.
        if (bytes.size() > kMaxFileBytes)
            throw Error(tooLarge(std::nullopt));
    }
    applyStudyFileData(parseStudyFile(bytes, path), study, path);
}

std::string studyFileBytes(const StudyDocument& study) {
    using K = Place::Kind;
    const int levels = levelsInTable(study);
    const long long rows = resultRows(study);
    checkLimits(kSaveRefusal, levels, rows);
    const int blanks = study.blankCount();
    if (blanks > kMaxFileBlanks)
        throw Error(blanksOutOfRange(kSaveRefusal, blanks));

    std::string out;
    for (int i = 0; i < 7; ++i)
        appendLine(out, study.text(static_cast<StudyField>(i)), {K::field, i});
    const auto appendLevels = [&](int first, int last) {
        for (int i = first; i <= last; ++i) {
            appendLine(out, levelValueText(study, i), {K::levelValue, i});
            appendLine(out, replicateCountText(study, i), {K::replicateCount, i});
        }
    };
    if (holdsAsComplete(study, levels, rows)) {
        appendLevels(1, levels);
        appendLine(out, integerText(rows), {K::countLine, 0});
    } else {
        // The levels the typed count places (cells beyond the table read empty), the table
        // sizes, then the levels that count did not place.
        const int placed = placedLevels(study.text(StudyField::levelCount));
        appendLevels(1, placed);
        appendLine(out, inProgressLine(levels, static_cast<int>(rows)), {K::countLine, 0});
        appendLevels(placed + 1, levels);
    }
    out.reserve(out.size() + static_cast<std::size_t>(rows) * 16);
    for (int r = 1; r <= rows; ++r)
        appendLine(out, recoveredAmountText(study, r), {K::result, r});
    for (int r = 1; r <= rows; ++r)
        appendLine(out, secondValueText(study, r), {K::secondValue, r});
    if (blanks > 0) {
        appendLine(out, std::string(kBlanksStart) + integerText(blanks), {K::blankCountLine, 0});
        for (int i = 1; i <= blanks; ++i)
            appendLine(out, study.blankReadingText(i), {K::blankReading, i});
    }
    return out;
}

void saveStudyFile(const std::string& path, const StudyDocument& study) {
    // Everything that can be refused is refused before a file is touched.
    const std::string bytes = studyFileBytes(study);
    const std::string saving = failedTo("guardar", path);

    struct stat info;
    bool exists = false;
    const std::string target = resolveTarget(path, info, exists, saving);
    if (exists) {
        if (S_ISDIR(info.st_mode))
            throwIoError(EISDIR, saving);
        // A read-only file stays protected although the folder would let us replace it.
        if (::access(target.c_str(), W_OK) != 0)
            throwPathError(target, errno, saving);
    }

    TemporaryFile temporary(saving);
    temporary.create(folderOf(target));
    if (exists) {
        if (::fchmod(temporary.fd(), info.st_mode & 07777) != 0)
            throwIoError(errno, saving);
        // Only the owner's privileges allow this; a file of another user becomes ours.
        [[maybe_unused]] const int ignored = ::fchown(temporary.fd(), info.st_uid, info.st_gid);
    }
    temporary.writeAll(bytes);
    temporary.close();
    temporary.renameTo(target);

    // The rename itself reaches the disk with the folder; a failure here no longer
    // endangers either file, so it is not reported.
    const std::string folder = folderOf(target);
    const int folderFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
}

}  // namespace ldc
