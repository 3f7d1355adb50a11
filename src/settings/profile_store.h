#pragma once

#include <string>

// Integer and string values by section and key; a missing key yields the
// default given. Write results are not reported.
class CProfileStore {
public:
    virtual ~CProfileStore() = default;
    virtual int GetProfileInt(const std::string& section, const std::string& key, int defaultValue) = 0;
    virtual std::string GetProfileString(const std::string& section, const std::string& key,
                                         const std::string& defaultValue) = 0;
    virtual void WriteProfileInt(const std::string& section, const std::string& key, int value) = 0;
    virtual void WriteProfileString(const std::string& section, const std::string& key,
                                    const std::string& value) = 0;
};
