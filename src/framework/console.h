// The game's one voice on the console. Every line goes through report() with
// its severity and what it is about; the reporter alone picks the stream,
// writes the line with its line end and flushes it at once, since players
// and scripts watch the output while the game runs. Two severities end the
// process after their line. Tests capture lines with a CapturedConsole.
#pragma once

#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

enum class Severity {
    information,     // what happens: the banner, files read, game events, results
    warning,         // something is missing or wrong, and the game goes on without it
    error,           // something failed; the caller decides what follows
    fatal,           // the game cannot go on: one character is read from standard input
                     // (Enter at a console, whose window would otherwise close unread),
                     // then the process ends with status 1 without running destructors
    startupFailure,  // the program cannot start: it ends with status 1 at once
};

// What a line is about. This alone picks the stream:
//   game   -> standard output: the run and the files the game reads for it: the
//             banner, settings, shaders, textures, render targets, the framework's
//             checks, GL's debug messages, game events, results and replays. A
//             script that follows a run reads standard output alone.
//   launch -> standard error: how the program was launched: its command line, and
//             the windowing library, window, GL loader and framework without which
//             it cannot start.
//   models -> standard error: what the OBJ model reader says about a model file,
//             the parsing library's own words among them.
enum class Topic { game, launch, models };

enum class StandardStream { output, error };

// Writes `text` and a line end to the stream of `topic`, then flushes it. The
// text may hold line ends of its own. Does not return for the two ending severities.
void report(Severity severity, std::string_view text, Topic topic = Topic::game);

// A std::ostream for code that writes its lines to a stream (game events,
// results, replays, the settings readers): each line is reported, with this
// stream's severity and topic, when its line end arrives.
class ReportingStream : public std::ostream {
public:
    explicit ReportingStream(Severity severity, Topic topic = Topic::game);
    ~ReportingStream() override;  // reports a last line that has no line end

private:
    class LineBuffer : public std::streambuf {
    public:
        LineBuffer(Severity severity, Topic topic) : severity_(severity), topic_(topic) {}
        void reportPending();

    protected:
        int_type overflow(int_type c) override;

    private:
        Severity severity_;
        Topic topic_;
        std::string pending_;
    };
    LineBuffer buffer_;
};

struct ReportedLine {
    Severity severity;
    StandardStream stream;
    std::string text;  // without the line end the stream would get
};

// While one lives, reported lines are kept in it instead of being written (for
// tests); the ending severities still end the process. The newest one captures.
class CapturedConsole {
public:
    CapturedConsole();
    ~CapturedConsole();
    CapturedConsole(const CapturedConsole&) = delete;
    CapturedConsole& operator=(const CapturedConsole&) = delete;

    const std::vector<ReportedLine>& lines() const { return lines_; }
    // What the stream would have shown: its lines, each with its line end.
    std::string text(StandardStream stream) const;

private:
    friend void report(Severity, std::string_view, Topic);
    std::vector<ReportedLine> lines_;
    CapturedConsole* previous_;
};
