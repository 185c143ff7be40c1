// Records every glUniform* call made while it lives, by wrapping GLEW's
// function pointers. Each upload is named by asking the current program
// which active uniform has that location, so the recorder works whether or
// not the Shader had already cached the location.
#pragma once

#include <GL/glew.h>

#include <string>
#include <vector>

struct UniformUpload {
    GLuint program = 0;
    std::string name;
    std::string kind;  // "1i", "1f", "3f", "4f", "m3", "m4"
    std::vector<float> values;
};

class UniformRecorder {
public:
    UniformRecorder();
    ~UniformRecorder();
    UniformRecorder(const UniformRecorder&) = delete;
    UniformRecorder& operator=(const UniformRecorder&) = delete;

    const std::vector<UniformUpload>& uploads() const;
    std::vector<std::string> names() const;
    // Location queries made while recording.
    int locationQueries() const;
    void clear();
};
