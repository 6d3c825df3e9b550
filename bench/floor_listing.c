/* The floor of a listing: the same bytes as `trmsg MIN..MAX` prints in the C
 * locale (UTF-8), each line written with one write(), as trmsg's per-line
 * flushing does. Usage: floor_listing MIN MAX (hexadecimal, 0 to 10ffff). */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

/* The UTF-8 bytes of c up to the first NUL; a lone surrogate becomes U+FFFD, as
 * Qt converts it. */
static int encode_utf8(unsigned long c, char *out)
{
    if (c >= 0xd800 && c <= 0xdfff)
        c = 0xfffd;
    if (c < 0x80) {
        out[0] = (char)c;
        return c == 0 ? 0 : 1;
    }
    if (c < 0x800) {
        out[0] = (char)(0xc0 | (c >> 6));
        out[1] = (char)(0x80 | (c & 0x3f));
        return 2;
    }
    if (c < 0x10000) {
        out[0] = (char)(0xe0 | (c >> 12));
        out[1] = (char)(0x80 | ((c >> 6) & 0x3f));
        out[2] = (char)(0x80 | (c & 0x3f));
        return 3;
    }
    out[0] = (char)(0xf0 | (c >> 18));
    out[1] = (char)(0x80 | ((c >> 12) & 0x3f));
    out[2] = (char)(0x80 | ((c >> 6) & 0x3f));
    out[3] = (char)(0x80 | (c & 0x3f));
    return 4;
}

int main(int argc, char **argv)
{
    static const char report[] = "Mib:106\tmimeName:\"UTF-8\"\tlocale:\"C\"\n";
    char line[sizeof report + 32];
    if (argc != 3)
        return 2;
    const unsigned long first = strtoul(argv[1], NULL, 16);
    const unsigned long last = strtoul(argv[2], NULL, 16);
    /* The report line leaves with the first listed line, as in trmsg. */
    size_t n = strlen(report);
    memcpy(line, report, n);
    for (unsigned long p = first; p <= last; ++p) {
        n += (size_t)snprintf(line + n, 16, "%lx:", p);
        n += (size_t)encode_utf8(p, line + n);
        line[n++] = '\n';
        if (write(1, line, n) != (ssize_t)n)
            return 1;
        n = 0;
    }
    return 0;
}
