// A fresh folder under the system's temporary directory, removed with the object.
#pragma once

#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// Where the real files from public projects are (../shared/data beside the project, or
// the folder $BRONTE_SHARED_DATA names); empty when the folder is absent.
std::string SharedDataDir();

// Where the LIS logs of known truth are (../shared/lis-truth beside the project, or the
// folder $BRONTE_LIS_TRUTH names); empty when the folder is absent.
std::string LisTruthDir();
