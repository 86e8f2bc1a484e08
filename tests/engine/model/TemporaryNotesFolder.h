#pragma once
// A fresh note folder for one test: every lookup reads it, and the notes cache starts empty.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "engine/model/LanguageNotes.h"
#include "engine/model/LanguageNotesFile.h"

namespace orvel::test {

class TemporaryNotesFolder {
  public:
    TemporaryNotesFolder() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_root = std::filesystem::temp_directory_path() /
                 ("orvel-notes-" + std::to_string(getpid()) + "-" + test->name());
        std::filesystem::remove_all(m_root);
        std::filesystem::create_directories(folder());
        LanguageNotes::File::setFolderOverride(folder());
        LanguageNotes::clearCacheForTesting();
    }
    ~TemporaryNotesFolder() {
        LanguageNotes::File::setFolderOverride(std::nullopt);
        LanguageNotes::clearCacheForTesting();
        std::filesystem::remove_all(m_root);
    }
    TemporaryNotesFolder(const TemporaryNotesFolder&) = delete;
    TemporaryNotesFolder& operator=(const TemporaryNotesFolder&) = delete;

    // The note folder; its parent is the test's own scratch folder.
    std::filesystem::path folder() const { return m_root / "LanguageNotes"; }
    const std::filesystem::path& root() const { return m_root; }

    void write(const std::filesystem::path& path, const std::string& content) const {
        std::ofstream(path, std::ios::binary) << content;
    }
    void writeNote(const std::string& name, const std::string& content) const {
        write(folder() / (name + ".json"), content);
    }

  private:
    std::filesystem::path m_root;
};

} // namespace orvel::test
