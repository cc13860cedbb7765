// "&Save..." in the running dialog, through the real Save As dialog: the name it proposes, its
// filters and default extension, the exact bytes written, the overwrite question, Cancel, and the
// message box of a save that fails while an existing file keeps its content.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include <aclapi.h>
#include <sddl.h>

#include "framework/WinApp.h"
#include "support/ViewDriver.h"

namespace {
// A fresh folder under the temporary folder, removed with whatever is left in it.
class TempFolder {
public:
    TempFolder()
    {
        static int counter = 0;
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        m_path = std::string(temp) + "whois-save-" + std::to_string(GetCurrentProcessId()) + "-" +
                 std::to_string(++counter);
        CreateDirectoryA(m_path.c_str(), nullptr);
    }
    ~TempFolder()
    {
        for (const std::string& name : Names()) {
            std::string file = Path(name);
            SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(file.c_str());
        }
        RemoveDirectoryA(m_path.c_str());
    }
    std::string Path(const std::string& name) const { return m_path + "\\" + name; }
    // The names of the files in the folder.
    std::set<std::string> Names() const
    {
        std::set<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(Path("*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.insert(found.cFileName);
        } while (FindNextFileA(search, &found));
        FindClose(search);
        return names;
    }

private:
    std::string m_path;
};

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadBytes(const std::string& path)
{
    std::string bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<cannot open>";
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string SystemText(DWORD error)
{
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string reason = text ? text : "";
    LocalFree(text);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' ')) reason.pop_back();
    return reason;
}

class SaveAnswer : public MainDialogViewTest {
protected:
    // Shows `answer` as the answer to `question` from the domain-name registry.
    void Show(const std::string& question, const std::string& answer)
    {
        m_interNic.Play({{ServerStep::Send(answer)}});
        ASSERT_TRUE(AskAndWait(question));
        ASSERT_EQ(answer, m_dlg.m_strAnswer.Str());
    }

    // Clicks "&Save..." and returns once the command, with every window it opened, is over.
    void Save(ModalWatcher& watcher)
    {
        PostClick(m_dlg.m_hWnd, IDC_SAVE);
        // The command runs the Save As dialog's modal loop inside this pump.
        ASSERT_TRUE(PumpUntil([&] { return !watcher.FileDialogs().empty(); }, 30000, m_dlg.m_hWnd))
            << "no Save As dialog";
        ASSERT_FALSE(watcher.ForcedClose()) << "a window stayed open after its answer";
        EXPECT_TRUE(IsWindowEnabled(m_dlg.m_hWnd)) << "the main window is usable again";
    }

    TempFolder m_folder;
};

TEST_F(SaveAnswer, TheAnswerIsWrittenWithCrLfLineEndsAndNothingElse)
{
    struct Case {
        const char* name;
        std::string answer;
        std::string file;
    };
    const Case cases[] = {
        {"LF line ends", "Domain Name: EXAMPLE.COM\nRegistrant: Example (EX-1)\n",
         "Domain Name: EXAMPLE.COM\r\nRegistrant: Example (EX-1)\r\n"},
        {"CR LF line ends", "first\r\nsecond\r\n", "first\r\r\nsecond\r\r\n"},
        {"no line end at the end", "one\ntwo", "one\r\ntwo"},
        {"a lone CR and blank lines", "x\ry\n\n\nz", "x\ry\r\n\r\n\r\nz"},
        {"bytes above 127 and a tab", "caf\xE9\t\x97 (H\xE4NDLE-1)\n", "caf\xE9\t\x97 (H\xE4NDLE-1)\r\n"},
        {"UTF-8 in three scripts", "Müller Straße\nАнна\r\n山田 太郎 (TY1-JP)\n", "Müller Straße\r\nАнна\r\r\n山田 太郎 (TY1-JP)\r\n"},
        {"UTF-8 with a stray byte", "Jürgen Wei\xDF\n", "Jürgen Wei\xDF\r\n"},
        {"empty answer", "", ""},
    };
    std::set<std::string> written;
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(Show("example.com", c.answer));
        const std::string name = "answer" + std::to_string(++index) + ".txt";
        ModalWatcher watcher(m_dlg.m_hWnd, m_folder.Path(name));
        ASSERT_NO_FATAL_FAILURE(Save(watcher));
        EXPECT_TRUE(watcher.Boxes().empty()) << "no overwrite question for a new file, no error";
        ASSERT_TRUE(Exists(m_folder.Path(name)));
        EXPECT_EQ(c.file, ReadBytes(m_folder.Path(name)));
        written.insert(name);
        EXPECT_EQ(written, m_folder.Names()) << "nothing else is left in the folder";
    }
}

TEST_F(SaveAnswer, AnExistingFileIsReplacedOnlyWhenTheUserSaysYes)
{
    struct Case {
        const char* name;
        std::string answer;
        int overwrite;
        std::string file;
    };
    const Case cases[] = {
        {"yes", "new answer\n", IDYES, "new answer\r\n"},
        {"yes, with an empty answer", "", IDYES, ""},
        {"no", "new answer\n", IDNO, "old content\r\nof the file\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string target = m_folder.Path("existing.txt");
        WriteBytes(target, "old content\r\nof the file\r\n");
        ASSERT_NO_FATAL_FAILURE(Show("example.com", c.answer));
        ModalWatcher watcher(m_dlg.m_hWnd, target, IDOK, c.overwrite);
        ASSERT_NO_FATAL_FAILURE(Save(watcher));
        ASSERT_EQ(1u, watcher.Boxes().size()) << "the overwrite question, and no error";
        EXPECT_TRUE(watcher.Boxes()[0].ownedByFileDialog);
        EXPECT_EQ(c.file, ReadBytes(target));
        EXPECT_EQ((std::set<std::string>{"existing.txt"}), m_folder.Names());
    }
}

TEST_F(SaveAnswer, TheDialogProposesTheQuestionAsAFileName)
{
    struct Case {
        const char* question;
        const char* proposed;
    };
    const Case cases[] = {
        {"example.com", "example.com"},
        {"192.0.2.0/24", "192.0.2.0_24"},
        {"!EXAMPLE-1", "!EXAMPLE-1"},
        {"a\\b:c*d?e\"f<g>h|i", "a_b_c_d_e_f_g_h_i"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.question);
        ASSERT_NO_FATAL_FAILURE(Show(c.question, "answer\n"));
        // The name field is read, then the dialog is cancelled.
        ModalWatcher watcher(m_dlg.m_hWnd, "", IDCANCEL);
        ASSERT_NO_FATAL_FAILURE(Save(watcher));
        ASSERT_EQ(1u, watcher.FileDialogs().size());
        EXPECT_EQ(c.proposed, watcher.FileDialogs()[0].proposedName);
        EXPECT_EQ((std::vector<std::string>{"Text files", "All files"}), watcher.FileDialogs()[0].filters);
        EXPECT_TRUE(watcher.Boxes().empty());
    }
}

TEST_F(SaveAnswer, ANameWithoutExtensionGetsTxt)
{
    ASSERT_NO_FATAL_FAILURE(Show("example.com", "text\n"));
    ModalWatcher watcher(m_dlg.m_hWnd, m_folder.Path("plain"));
    ASSERT_NO_FATAL_FAILURE(Save(watcher));
    EXPECT_EQ((std::set<std::string>{"plain.txt"}), m_folder.Names());
    EXPECT_EQ("text\r\n", ReadBytes(m_folder.Path("plain.txt")));
}

// "&Save..." saves the record on display: after "<" that is the older record, under its question.
TEST_F(SaveAnswer, AnOlderRecordShownIsTheOneSaved)
{
    ASSERT_NO_FATAL_FAILURE(Show("older.example", "older answer\n"));
    ASSERT_NO_FATAL_FAILURE(Show("newer.example", "newer answer\n"));
    PostClick(m_dlg.m_hWnd, IDC_PREV);
    PumpFor(50, m_dlg.m_hWnd);
    ASSERT_EQ("older answer\n", ViewText());
    ModalWatcher watcher(m_dlg.m_hWnd, m_folder.Path("shown.txt"));
    ASSERT_NO_FATAL_FAILURE(Save(watcher));
    EXPECT_EQ("older.example", watcher.FileDialogs()[0].proposedName);
    EXPECT_EQ("older answer\r\n", ReadBytes(m_folder.Path("shown.txt")));
}

TEST_F(SaveAnswer, CancelWritesNothing)
{
    struct Case {
        const char* name;
        bool existing;
    };
    const Case cases[] = {{"new name", false}, {"existing file", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string target = m_folder.Path("cancelled.txt");
        if (c.existing) WriteBytes(target, "kept\r\n");
        ASSERT_NO_FATAL_FAILURE(Show("example.com", "not saved\n"));
        // A full path typed, then Cancel.
        ModalWatcher watcher(m_dlg.m_hWnd, target, IDCANCEL);
        ASSERT_NO_FATAL_FAILURE(Save(watcher));
        EXPECT_TRUE(watcher.Boxes().empty());
        EXPECT_EQ(c.existing, Exists(target));
        if (c.existing) {
            EXPECT_EQ("kept\r\n", ReadBytes(target));
        }
        EXPECT_EQ(c.existing ? std::set<std::string>{"cancelled.txt"} : std::set<std::string>{}, m_folder.Names());
    }
}

// A save that cannot complete says so, naming the file and the system's reason, and leaves what
// was there. The reasons are what the platform reports for each failure.
TEST_F(SaveAnswer, AFailedSaveSaysWhyAndKeepsTheExistingFile)
{
    struct Case {
        const char* name;
        std::string target;
        bool heldOpen;  // an existing file, open elsewhere without sharing, so it cannot be replaced
        DWORD error;
    };
    const Case cases[] = {
        {"a folder that does not exist", m_folder.Path("missing\\answer.txt"), false, ERROR_DIRECTORY},
        {"a file another program holds", m_folder.Path("held.txt"), true, ERROR_ACCESS_DENIED},
    };
    const std::string appName = AfxGetApp()->m_strAppName.Str();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(Show("example.com", "the new answer\n"));
        HANDLE held = INVALID_HANDLE_VALUE;
        if (c.heldOpen) {
            WriteBytes(c.target, "old content\r\n");
            held = CreateFileA(c.target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(INVALID_HANDLE_VALUE, held);
        }
        ModalWatcher watcher(m_dlg.m_hWnd, c.target);
        ASSERT_NO_FATAL_FAILURE(Save(watcher));
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);

        std::vector<ModalWatcher::Box> boxes = watcher.Boxes();
        // An existing file is first the overwrite question's.
        ASSERT_EQ(c.heldOpen ? 2u : 1u, boxes.size());
        const ModalWatcher::Box& error = boxes.back();
        EXPECT_FALSE(error.ownedByFileDialog);
        EXPECT_EQ(appName, error.title);
        EXPECT_EQ("The answer could not be saved to " + c.target + ".\n\n" + SystemText(c.error), error.text);
        if (c.heldOpen) {
            EXPECT_EQ("old content\r\n", ReadBytes(c.target));
            EXPECT_EQ((std::set<std::string>{"held.txt"}), m_folder.Names()) << "no half-written file is left";
        } else {
            EXPECT_FALSE(Exists(c.target));
            EXPECT_TRUE(m_folder.Names().empty());
        }
    }
}

// The file's attributes and permissions as text.
std::string AttributesAndPermissions(const std::string& path)
{
    PSECURITY_DESCRIPTOR security = nullptr;
    char* text = nullptr;
    GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr, nullptr, &security);
    ConvertSecurityDescriptorToStringSecurityDescriptorA(security, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr);
    const std::string both = std::to_string(GetFileAttributesA(path.c_str())) + " " + (text ? text : "");
    LocalFree(text);
    LocalFree(security);
    return both;
}

// A file the user had hidden and opened to everyone stays hidden and open to everyone once replaced.
TEST_F(SaveAnswer, AReplacedFileKeepsItsAttributesAndPermissions)
{
    const std::string target = m_folder.Path("kept.txt");
    WriteBytes(target, "old content\r\n");
    PSECURITY_DESCRIPTOR everyone = nullptr;
    ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;FA;;;WD)", SDDL_REVISION_1, &everyone, nullptr);
    ASSERT_TRUE(SetFileSecurityA(target.c_str(), DACL_SECURITY_INFORMATION, everyone));
    LocalFree(everyone);
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_HIDDEN));
    const std::string before = AttributesAndPermissions(target);

    ASSERT_NO_FATAL_FAILURE(Show("example.com", "new answer\n"));
    ModalWatcher watcher(m_dlg.m_hWnd, target, IDOK, IDYES);
    ASSERT_NO_FATAL_FAILURE(Save(watcher));
    EXPECT_EQ("new answer\r\n", ReadBytes(target));
    EXPECT_EQ(before, AttributesAndPermissions(target));
    EXPECT_EQ((std::set<std::string>{"kept.txt"}), m_folder.Names());
}
}  // namespace
