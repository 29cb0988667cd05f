/* SPDX-License-Identifier: GPL-3.0-or-later
 * SPDX-FileCopyrightText: 2026 Marrowby Industries
 *
 * Preloaded into a program under test: the system resolver then takes ten
 * minutes over any name under resolver-hangs.test, as one that waits on a
 * dead name server does, and says so by creating the file that
 * HOLDRIN_RESOLVING_MARK names. Every other name resolves as usual. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <netdb.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

int getaddrinfo(const char *node, const char *service, const struct addrinfo *hints, struct addrinfo **res)
{
    if (node && strstr(node, "resolver-hangs.test")) {
        const char *mark = getenv("HOLDRIN_RESOLVING_MARK");
        if (mark)
            close(open(mark, O_CREAT | O_WRONLY | O_CLOEXEC, 0600));
        sleep(600);
        return EAI_AGAIN;
    }
    int (*real)(const char *, const char *, const struct addrinfo *, struct addrinfo **) =
        (int (*)(const char *, const char *, const struct addrinfo *, struct addrinfo **))dlsym(RTLD_NEXT, "getaddrinfo");
    return real(node, service, hints, res);
}
