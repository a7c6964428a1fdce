#pragma once
// The process's standard streams, made safe before anything else runs.
//
// Started with a standard descriptor closed (`<&-`), the next file the
// process opens takes its number: the X connection would become standard
// input, and the getchar after a missing vertex file would read X protocol
// bytes. Redirected standard output is fully buffered, so a crash would lose
// every shader log printed before it.

// Opens /dev/null onto each of descriptors 0, 1 and 2 that is closed, and
// makes standard output flush at every line (the bytes written are the
// same). Call first thing in main. Failures leave the streams as they were.
void prepareStandardStreams();
