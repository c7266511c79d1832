/*
 * Builds folders, files and deletions inside an NTFS volume image through libntfs-3g, without mounting it
 * in the kernel. Test tooling only: the image generator (generate.py) drives it.
 *
 *   ntfs_image_helper IMAGE SCRIPT
 *
 * SCRIPT holds one command per line, fields separated by tabs; paths are absolute, UTF-8:
 *   mkdir   PATH
 *   put     PATH  LOCALFILE                  create PATH holding the bytes of LOCALFILE
 *   append  PATH  LOCALFILE                  add the bytes of LOCALFILE at the end of PATH
 *   write   PATH  OFFSET  LOCALFILE          write the bytes of LOCALFILE into PATH at OFFSET
 *   sparse  PATH  SIZE  OFFSET  LOCALFILE    create PATH of SIZE bytes, LOCALFILE's bytes at OFFSET, holes elsewhere
 *   rm      PATH                             delete a file (or an empty folder)
 *   mv      PATH  NEWPATH                    rename or move a file or folder (NEWPATH's folder must exist)
 *   link    PATH  NEWPATH                    give the file PATH a further name NEWPATH (a hard link)
 *   compress PATH                            mark the folder PATH compressed: files made in it afterwards are
 *                                            written compressed (LZNT1), as Windows' compressed folders are
 *   wof     PATH  SIZE  LOCALFILE            a file of SIZE bytes compressed by Windows' own file compression: its
 *                                            unnamed stream one hole, its bytes (LOCALFILE's, as they are) in the
 *                                            stream WofCompressedData, and the reparse point that says so
 *   cloud   PATH  SIZE  [LOCALFILE]          a cloud file's placeholder: SIZE bytes, the cloud reparse point;
 *                                            online only (its unnamed stream one hole) or, with LOCALFILE, kept on
 *                                            the disk (its bytes there)
 *   elsewhere PATH TAG SIZE [LOCALFILE]      a file of SIZE bytes whose data storage keeps elsewhere, by the reparse
 *                                            point of TAG (hex: 80000013 deduplicated, C0000004 moved by storage
 *                                            management, 8000001E tiered to the cloud): its unnamed stream one hole,
 *                                            or LOCALFILE's bytes at its start and a hole after them (recalled in part)
 *   symlink PATH  TARGET                     a symbolic link to TARGET (a Windows path), as Windows makes one
 *   junction PATH TARGET                     a junction: a folder standing for the folder TARGET
 *   times   PATH  MODIFIED  ACCESSED         set the standard information's last write and access times (seconds
 *                                            since 1970); the file-name attributes keep theirs, as Windows does
 *
 * The volume's clock is fixed (environment NTFS_HELPER_TIME, seconds since 1970, default 1600000000) so that
 * the same script gives the same image bytes.
 */
#define _GNU_SOURCE
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>

#include <ntfs-3g/types.h>
#include <ntfs-3g/attrib.h>
#include <ntfs-3g/dir.h>
#include <ntfs-3g/inode.h>
#include <ntfs-3g/reparse.h>
#include <ntfs-3g/security.h>
#include <ntfs-3g/ntfstime.h>
#include <ntfs-3g/unistr.h>
#include <ntfs-3g/volume.h>

/* libntfs-3g stamps every record with the wall clock; these definitions take the place of the C library's
 * for the whole process, so every stamp is the fixed time. */
static time_t fixed_time(void)
{
    const char *s = getenv("NTFS_HELPER_TIME");
    return s ? (time_t)strtoll(s, NULL, 10) : (time_t)1600000000;
}

int clock_gettime(clockid_t clock, struct timespec *ts)
{
    (void)clock;
    ts->tv_sec = fixed_time();
    ts->tv_nsec = 0;
    return 0;
}

time_t time(time_t *out)
{
    time_t t = fixed_time();
    if (out)
        *out = t;
    return t;
}

static int fail(const char *what, const char *path)
{
    fprintf(stderr, "ntfs_image_helper: %s %s: %s\n", what, path, strerror(errno));
    return -1;
}

static char *read_local(const char *file, size_t *size)
{
    FILE *f = fopen(file, "rb");
    if (!f)
        return NULL;
    fseek(f, 0, SEEK_END);
    long n = ftell(f);
    fseek(f, 0, SEEK_SET);
    char *buf = malloc(n > 0 ? (size_t)n : 1);
    if (buf && fread(buf, 1, (size_t)n, f) != (size_t)n) {
        free(buf);
        buf = NULL;
    }
    fclose(f);
    *size = (size_t)n;
    return buf;
}

/* Splits "/a/b/c" into the parent "/a/b" (opened) and the last name as UTF-16. */
static ntfs_inode *open_parent(ntfs_volume *vol, const char *path, ntfschar **uname, int *ulen)
{
    const char *slash = strrchr(path, '/');
    if (!slash)
        return NULL;
    char *dir = strndup(path, (size_t)(slash - path));
    ntfs_inode *dir_ni = ntfs_pathname_to_inode(vol, NULL, *dir ? dir : "/");
    free(dir);
    *uname = NULL;
    *ulen = ntfs_mbstoucs(slash + 1, uname);
    if (!dir_ni || *ulen <= 0) {
        if (dir_ni)
            ntfs_inode_close(dir_ni);
        free(*uname);
        return NULL;
    }
    return dir_ni;
}

static int create(ntfs_volume *vol, const char *path, mode_t type)
{
    ntfschar *uname;
    int ulen;
    ntfs_inode *dir_ni = open_parent(vol, path, &uname, &ulen);
    if (!dir_ni)
        return fail("no parent for", path);
    ntfs_inode *ni = ntfs_create(dir_ni, const_cpu_to_le32(0), uname, (u8)ulen, type);
    free(uname);
    int rc = ni ? 0 : fail("cannot create", path);
    if (ni)
        ntfs_inode_close(ni);
    ntfs_inode_close(dir_ni);
    return rc;
}

/* Writes LOCALFILE's bytes into PATH's unnamed data stream at offset at (-1: at the end). */
static int write_data(ntfs_volume *vol, const char *path, const char *file, s64 at, s64 size)
{
    size_t n;
    char *buf = read_local(file, &n);
    if (!buf)
        return fail("cannot read", file);
    int rc = -1;
    ntfs_inode *ni = ntfs_pathname_to_inode(vol, NULL, path);
    ntfs_attr *na = ni ? ntfs_attr_open(ni, AT_DATA, AT_UNNAMED, 0) : NULL;
    if (na) {
        /* Growing the size first leaves the skipped range as a hole (a sparse run). */
        if (size >= 0 && ntfs_attr_truncate(na, size))
            fail("cannot size", path);
        else {
            s64 pos = at < 0 ? na->data_size : at;
            rc = ntfs_attr_pwrite(na, pos, (s64)n, buf) == (s64)n ? 0 : fail("cannot write", path);
        }
        ntfs_attr_close(na);
    } else
        fail("cannot open", path);
    if (ni)
        ntfs_inode_close(ni);
    free(buf);
    return rc;
}

static int delete(ntfs_volume *vol, const char *path)
{
    ntfschar *uname;
    int ulen;
    ntfs_inode *dir_ni = open_parent(vol, path, &uname, &ulen);
    if (!dir_ni)
        return fail("no parent for", path);
    /* Looked up from the open parent: a second instance of the parent, opened and closed by a lookup from the
     * root, would be cached as it was before this deletion and handed out to the next command. */
    ntfs_inode *ni = ntfs_pathname_to_inode(vol, dir_ni, strrchr(path, '/') + 1);
    if (!ni) {
        free(uname);
        ntfs_inode_close(dir_ni);
        return fail("cannot open", path);
    }
    /* ntfs_delete closes both inodes whatever happens. */
    int rc = ntfs_delete(vol, path, ni, dir_ni, uname, (u8)ulen) ? fail("cannot delete", path) : 0;
    free(uname);
    return rc;
}

/* PATH gains the name NEWPATH; both stay. */
static int link_file(ntfs_volume *vol, const char *path, const char *to)
{
    ntfschar *unew;
    int unewlen;
    ntfs_inode *ni = ntfs_pathname_to_inode(vol, NULL, path);
    if (!ni)
        return fail("cannot open", path);
    ntfs_inode *to_ni = open_parent(vol, to, &unew, &unewlen);
    if (!to_ni) {
        ntfs_inode_close(ni);
        return fail("no parent for", to);
    }
    int rc = ntfs_link(ni, to_ni, unew, (u8)unewlen) ? fail("cannot link", to) : 0;
    free(unew);
    if (ntfs_inode_close(to_ni) && !rc)
        rc = fail("cannot close", to);
    if (ntfs_inode_close(ni) && !rc)
        rc = fail("cannot close", path);
    return rc;
}

/* A rename is a new link in the target folder and the old one removed, as the driver of the file system does;
 * a folder's ".." needs no change: NTFS keeps the parent only in the file-name attribute of each link. */
static int move(ntfs_volume *vol, const char *path, const char *to)
{
    if (link_file(vol, path, to))
        return -1;
    ntfschar *uname;
    int ulen;
    ntfs_inode *ni = ntfs_pathname_to_inode(vol, NULL, path);
    if (!ni)
        return fail("cannot open", path);
    ntfs_inode *dir_ni = open_parent(vol, path, &uname, &ulen);
    if (!dir_ni) {
        ntfs_inode_close(ni);
        return fail("no parent for", path);
    }
    /* ntfs_delete closes both inodes whatever happens; the inode stays, named by its new link. */
    int rc = ntfs_delete(vol, path, ni, dir_ni, uname, (u8)ulen) ? fail("cannot unlink", path) : 0;
    free(uname);
    return rc;
}

static int compress_folder(ntfs_volume *vol, const char *path)
{
    ntfs_inode *ni = ntfs_pathname_to_inode(vol, NULL, path);
    if (!ni)
        return fail("cannot open", path);
    le32 attributes = cpu_to_le32(le32_to_cpu(ni->flags) | FILE_ATTR_COMPRESSED | FILE_ATTR_DIRECTORY);
    int rc = ntfs_set_ntfs_attrib(ni, (const char *)&attributes, sizeof attributes, 0) ? fail("cannot compress", path)
                                                                                      : 0;
    if (ntfs_inode_close(ni) && !rc)
        rc = fail("cannot close", path);
    return rc;
}

/* PATH's reparse point: tag, its data the bytes given. */
static int set_reparse_point(ntfs_volume *vol, const char *path, u32 tag, const char *data, u16 size)
{
    char value[1024];
    if (size > sizeof value - 8)
        return fail("reparse data too long for", path);
    le32 le_tag = cpu_to_le32(tag);
    le16 le_size = cpu_to_le16(size);
    memset(value, 0, sizeof value);
    memcpy(value, &le_tag, 4);
    memcpy(value + 4, &le_size, 2);
    memcpy(value + 8, data, size);
    ntfs_inode *ni = ntfs_pathname_to_inode(vol, NULL, path);
    if (!ni)
        return fail("cannot open", path);
    int rc = ntfs_set_ntfs_reparse_data(ni, value, 8 + (size_t)size, 0) ? fail("cannot set the reparse point of", path)
                                                                         : 0;
    if (ntfs_inode_close(ni) && !rc)
        rc = fail("cannot close", path);
    return rc;
}

/* A named data stream of PATH holding LOCALFILE's bytes. */
static int put_stream(ntfs_volume *vol, const char *path, const char *stream, const char *file)
{
    size_t n;
    char *buf = read_local(file, &n);
    if (!buf)
        return fail("cannot read", file);
    ntfschar *uname = NULL;
    int ulen = ntfs_mbstoucs(stream, &uname);
    int rc = -1;
    ntfs_inode *ni = ntfs_pathname_to_inode(vol, NULL, path);
    if (ni && ulen > 0 && !ntfs_attr_add(ni, AT_DATA, uname, (u8)ulen, NULL, 0)) {
        ntfs_attr *na = ntfs_attr_open(ni, AT_DATA, uname, (u32)ulen);
        rc = na && ntfs_attr_pwrite(na, 0, (s64)n, buf) == (s64)n ? 0 : fail("cannot write the stream of", path);
        if (na)
            ntfs_attr_close(na);
    } else
        fail("cannot add a stream to", path);
    if (ni)
        ntfs_inode_close(ni);
    free(uname);
    free(buf);
    return rc;
}

/* Windows' file compression: the external backing of the file provider, XPRESS with 4 KiB chunks. */
static int put_wof(ntfs_volume *vol, const char *path, s64 size, const char *file)
{
    static const char wof[16] = {1, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
    if (create(vol, path, S_IFREG) || write_data(vol, path, "/dev/null", 0, size) ||
        put_stream(vol, path, "WofCompressedData", file))
        return -1;
    return set_reparse_point(vol, path, 0x80000017, wof, sizeof wof);
}

/* A cloud file's placeholder (the tag of one provider of cloud files), online only unless file is given. */
static int put_cloud(ntfs_volume *vol, const char *path, s64 size, const char *file)
{
    static const char blob[12] = {'F', 'e', 'R', 'p', 1, 0, 0, 0, 0, 0, 0, 0};
    if (create(vol, path, S_IFREG) || write_data(vol, path, file ? file : "/dev/null", 0, size))
        return -1;
    return set_reparse_point(vol, path, 0x9000601A, blob, sizeof blob);
}

/* A file whose data the storage behind the reparse point of tag keeps: a hole of size bytes in its unnamed stream,
 * after file's bytes when given (a file recalled in part). */
static int put_elsewhere(ntfs_volume *vol, const char *path, const char *tag, s64 size, const char *file)
{
    static const char blob[16] = {1, 0, 0, 0, 'D', 'O', 'R', 'V', 0, 0, 0, 0, 0, 0, 0, 0};
    if (create(vol, path, S_IFREG) || write_data(vol, path, file ? file : "/dev/null", 0, size))
        return -1;
    return set_reparse_point(vol, path, (u32)strtoul(tag, NULL, 16), blob, sizeof blob);
}

/* A symbolic link (a file) or a junction (a folder) to target, by the reparse data Windows writes for it: the name
 * handed to the system ("\??\" and the path), then the name shown (the path), each as UTF-16. */
static int put_link(ntfs_volume *vol, const char *path, const char *target, int junction)
{
    char given[512];
    snprintf(given, sizeof given, "\\??\\%s", target);
    ntfschar *ugiven = NULL, *ushown = NULL;
    int given_len = ntfs_mbstoucs(given, &ugiven), shown_len = ntfs_mbstoucs(target, &ushown);
    char data[1000];
    size_t header = junction ? 8 : 12, names = 2 * (size_t)(given_len + shown_len);
    int rc = given_len <= 0 || shown_len <= 0 || header + names > sizeof data
                 ? fail("bad link target for", path)
                 : create(vol, path, junction ? S_IFDIR : S_IFREG);
    if (!rc) {
        le16 fields[4] = {cpu_to_le16(0), cpu_to_le16((u16)(2 * given_len)), cpu_to_le16((u16)(2 * given_len)),
                          cpu_to_le16((u16)(2 * shown_len))};
        memset(data, 0, sizeof data);
        memcpy(data, fields, sizeof fields);
        memcpy(data + header, ugiven, 2 * (size_t)given_len);
        memcpy(data + header + 2 * (size_t)given_len, ushown, 2 * (size_t)shown_len);
        rc = set_reparse_point(vol, path, junction ? 0xA0000003 : 0xA000000C, data, (u16)(header + names));
    }
    free(ugiven);
    free(ushown);
    return rc;
}

/* PATH's standard information times: last write and last access (the file-name attributes keep theirs). */
static int set_times(ntfs_volume *vol, const char *path, const char *modified, const char *accessed)
{
    ntfs_inode *ni = ntfs_pathname_to_inode(vol, NULL, path);
    if (!ni)
        return fail("cannot open", path);
    ni->last_data_change_time = timespec2ntfs((struct timespec){(time_t)strtoll(modified, NULL, 10), 0});
    ni->last_access_time = timespec2ntfs((struct timespec){(time_t)strtoll(accessed, NULL, 10), 0});
    ntfs_inode_mark_dirty(ni);
    return ntfs_inode_close(ni) ? fail("cannot close", path) : 0;
}

static int run(ntfs_volume *vol, char **f, int n)
{
    if (n == 2 && !strcmp(f[0], "mkdir"))
        return create(vol, f[1], S_IFDIR);
    if (n == 3 && !strcmp(f[0], "put"))
        return create(vol, f[1], S_IFREG) ? -1 : write_data(vol, f[1], f[2], 0, -1);
    if (n == 3 && !strcmp(f[0], "append"))
        return write_data(vol, f[1], f[2], -1, -1);
    if (n == 4 && !strcmp(f[0], "write"))
        return write_data(vol, f[1], f[3], strtoll(f[2], NULL, 10), -1);
    if (n == 5 && !strcmp(f[0], "sparse"))
        return create(vol, f[1], S_IFREG) ? -1
                                          : write_data(vol, f[1], f[4], strtoll(f[3], NULL, 10),
                                                       strtoll(f[2], NULL, 10));
    if (n == 2 && !strcmp(f[0], "rm"))
        return delete(vol, f[1]);
    if (n == 3 && !strcmp(f[0], "mv"))
        return move(vol, f[1], f[2]);
    if (n == 3 && !strcmp(f[0], "link"))
        return link_file(vol, f[1], f[2]);
    if (n == 2 && !strcmp(f[0], "compress"))
        return compress_folder(vol, f[1]);
    if (n == 4 && !strcmp(f[0], "wof"))
        return put_wof(vol, f[1], strtoll(f[2], NULL, 10), f[3]);
    if ((n == 3 || n == 4) && !strcmp(f[0], "cloud"))
        return put_cloud(vol, f[1], strtoll(f[2], NULL, 10), n == 4 ? f[3] : NULL);
    if ((n == 4 || n == 5) && !strcmp(f[0], "elsewhere"))
        return put_elsewhere(vol, f[1], f[2], strtoll(f[3], NULL, 10), n == 5 ? f[4] : NULL);
    if (n == 3 && (!strcmp(f[0], "symlink") || !strcmp(f[0], "junction")))
        return put_link(vol, f[1], f[2], !strcmp(f[0], "junction"));
    if (n == 4 && !strcmp(f[0], "times"))
        return set_times(vol, f[1], f[2], f[3]);
    fprintf(stderr, "ntfs_image_helper: bad command %s\n", n ? f[0] : "(empty)");
    return -1;
}

static ntfs_volume *mount_volume(const char *image)
{
    ntfs_volume *vol = ntfs_mount(image, NTFS_MNT_NONE);
    /* Only folders marked compressed ("compress") compress what is written in them. */
    if (vol)
        NVolSetCompression(vol);
    return vol;
}

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: ntfs_image_helper IMAGE SCRIPT\n");
        return 2;
    }
    FILE *script = fopen(argv[2], "r");
    if (!script)
        return fail("cannot open", argv[2]) ? 1 : 1;
    ntfs_volume *vol = mount_volume(argv[1]);
    if (!vol) {
        fclose(script);
        return fail("cannot open volume", argv[1]) ? 1 : 1;
    }
    char line[8192];
    int rc = 0;
    while (!rc && fgets(line, sizeof line, script)) {
        line[strcspn(line, "\r\n")] = 0;
        if (!*line || *line == '#')
            continue;
        char *f[8];
        int n = 0;
        for (char *save = NULL, *t = strtok_r(line, "\t", &save); t && n < 8; t = strtok_r(NULL, "\t", &save))
            f[n++] = t;
        rc = run(vol, f, n);
        /* A rename opens folders more than once (the lookups of both paths); the library caches closed inodes,
         * and could hand a later command a copy from before the change: start again from the disk. */
        if (!rc && !strcmp(f[0], "mv")) {
            if (ntfs_umount(vol, FALSE))
                rc = fail("cannot close volume", argv[1]);
            else if (!(vol = mount_volume(argv[1]))) {
                fclose(script);
                return fail("cannot open volume", argv[1]) ? 1 : 1;
            }
        }
    }
    fclose(script);
    if (ntfs_umount(vol, FALSE))
        rc = fail("cannot close volume", argv[1]);
    return rc ? 1 : 0;
}
