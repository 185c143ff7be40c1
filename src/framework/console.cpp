#include "console.h"

#include <cstdio>
#include <cstdlib>

namespace {

CapturedConsole* capture = nullptr;

// The one rule, as the header states it.
StandardStream streamFor(Topic topic)
{
    switch (topic) {
    case Topic::game:
        return StandardStream::output;
    case Topic::launch:
    case Topic::models:
        return StandardStream::error;
    }
    return StandardStream::output;
}

[[noreturn]] void endProcess(Severity severity)
{
    if (severity == Severity::startupFailure)
        std::exit(1);
    std::getchar();  // returns at once when standard input is closed
    // No destructors: GL objects held in statics must not be deleted while
    // the process goes down, perhaps without a current context.
    std::fflush(nullptr);
    std::_Exit(1);
}

}  // namespace

void report(Severity severity, std::string_view text, Topic topic)
{
    const StandardStream stream = streamFor(topic);
    if (capture) {
        capture->lines_.push_back(ReportedLine{severity, stream, std::string(text)});
    } else {
        std::FILE* file = stream == StandardStream::output ? stdout : stderr;
        std::fwrite(text.data(), 1, text.size(), file);
        std::fputc('\n', file);
        std::fflush(file);
    }
    if (severity == Severity::fatal || severity == Severity::startupFailure)
        endProcess(severity);
}

ReportingStream::ReportingStream(Severity severity, Topic topic) : std::ostream(nullptr), buffer_(severity, topic)
{
    rdbuf(&buffer_);
}

ReportingStream::~ReportingStream()
{
    buffer_.reportPending();
}

void ReportingStream::LineBuffer::reportPending()
{
    if (pending_.empty())
        return;
    report(severity_, pending_, topic_);
    pending_.clear();
}

ReportingStream::LineBuffer::int_type ReportingStream::LineBuffer::overflow(int_type c)
{
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    if (traits_type::to_char_type(c) != '\n') {
        pending_ += traits_type::to_char_type(c);
        return c;
    }
    report(severity_, pending_, topic_);
    pending_.clear();
    return c;
}

CapturedConsole::CapturedConsole() : previous_(capture)
{
    capture = this;
}

CapturedConsole::~CapturedConsole()
{
    capture = previous_;
}

std::string CapturedConsole::text(StandardStream stream) const
{
    std::string shown;
    for (const ReportedLine& line : lines_) {
        if (line.stream == stream)
            shown += line.text + '\n';
    }
    return shown;
}
