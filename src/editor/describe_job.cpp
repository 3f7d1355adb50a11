#include "editor/describe_job.h"

#include "editor/table_describer.h"
#include "exec/output_sink.h"

#include <exception>

namespace {

// Collects the transcript text on the worker.
class CTextSink : public COutputSink {
public:
    explicit CTextSink(int wrapWidth) : m_nWrapWidth(wrapWidth) {}
    void AppendText(std::string_view text) override { m_text.append(text); }
    int WrapWidth() const override { return m_nWrapWidth; }
    std::string& Text() { return m_text; }

private:
    int m_nWrapWidth;
    std::string m_text;
};

}  // namespace

CDescribeJob::CDescribeJob(CDbConnection& connection, int defColLen, int maxColLen, int wrapWidth, std::string name,
                           std::function<void(std::string)> done)
    : m_thread([&connection, defColLen, maxColLen, wrapWidth, name = std::move(name), done = std::move(done)] {
          CTextSink sink(wrapWidth);
          try {
              CTableDescriber(connection, defColLen, maxColLen).Describe(name, sink);
          } catch (const std::exception& failure) {   // out of memory, a driver's surprise
              sink.AppendText(std::string("\r\nError: ") + failure.what() + "\r\n");
          }
          done(std::move(sink.Text()));
      }) {}

CDescribeJob::~CDescribeJob() { m_thread.join(); }
