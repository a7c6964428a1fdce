#include "app/StandardStreams.h"

#include <cstdio>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#endif

void prepareStandardStreams() {
#ifndef _WIN32
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        if (fcntl(descriptor, F_GETFD) == -1 && errno == EBADF) {
            // The lowest free number is this one: every lower one is open.
            const int opened = open("/dev/null", descriptor == 0 ? O_RDONLY : O_WRONLY);
            if (opened != descriptor && opened >= 0) {
                close(opened);
            }
        }
    }
#endif
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
}
