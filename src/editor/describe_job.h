#pragma once

#include "db/db_connection.h"

#include <functional>
#include <string>
#include <thread>

// Describe (see CTableDescriber) on a worker thread, so the window never
// waits for the catalog calls: the transcript text is collected there and
// handed to done, called on the worker as its last act (the window passes
// it on to its own thread). The connection must not be used by anyone else
// until then. The destructor waits for the worker.
class CDescribeJob {
public:
    CDescribeJob(CDbConnection& connection, int defColLen, int maxColLen, int wrapWidth, std::string name,
                 std::function<void(std::string)> done);
    ~CDescribeJob();
    CDescribeJob(const CDescribeJob&) = delete;
    CDescribeJob& operator=(const CDescribeJob&) = delete;

private:
    std::thread m_thread;
};
