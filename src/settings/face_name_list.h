#pragma once

#include <string>
#include <vector>

// The face names the Font page lists: each face once, whatever the case of
// its later spellings (the first spelling found stays), sorted without
// regard to case.
class CFaceNameList {
public:
    // Adds name unless the list already holds it (case-insensitive) or it is empty.
    void Add(const std::string& name);

    // The names in sorted order.
    const std::vector<std::string>& Names() const { return m_names; }

private:
    std::vector<std::string> m_names;  // kept sorted
};
