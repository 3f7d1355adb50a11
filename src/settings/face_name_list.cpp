#include "settings/face_name_list.h"

#include "settings/list_match.h"

#include <algorithm>

void CFaceNameList::Add(const std::string& name) {
    if (name.empty()) return;
    const auto foldedLess = [](const std::string& a, const std::string& b) {
        return !list_match::EqualNoCase(a, b) && list_match::LessNoCase(a, b);
    };
    // Every name equal but for case sorts next to name, so one look at the
    // insertion point finds a spelling already listed.
    const auto at = std::lower_bound(m_names.begin(), m_names.end(), name, foldedLess);
    if (at != m_names.end() && list_match::EqualNoCase(*at, name)) return;
    m_names.insert(at, name);
}
