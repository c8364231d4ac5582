#pragma once
// The command-line companion's own texts, in one table, so that no text is
// typed twice. Texts the program shares with the windows come from core/Texts.h.

namespace CliTexts {

inline constexpr const char* usage =
    "Usage: sealbook [options] COMMAND ARGS...\n"
    "\n"
    "Commands:\n"
    "  ls FILE               the tree of the database, folders first, with node ids,\n"
    "                        then its protection (strong or compatible)\n"
    "  show FILE ID          one node: title, template fields, attachment, body text\n"
    "      --body            print only the body as plain text\n"
    "      --rtf             print the body as stored\n"
    "      --conceal         print PINs, card codes and passwords as dots\n"
    "  export FILE           the whole database as JSON on standard output\n"
    "      --attachments DIR write attachments as files into DIR instead of base64\n"
    "  import JSON OUT.nte   build a database from an export (JSON '-' reads stdin)\n"
    "      --attachments DIR where the attachment files named in the JSON lie\n"
    "      --strong          write it strongly protected (see passwd)\n"
    "  passwd FILE           change the password of the database\n"
    "      --strong          protect it strongly: a slow key, every piece\n"
    "                        authenticated; opens only in this version\n"
    "      --compatible      protect it compatibly: opens in every version\n"
    "  verify FILE           load and check the whole database, print its counts\n"
    "                        and its protection\n"
    "  find FILE TEXT        the nodes holding TEXT, in tree order: id, then the\n"
    "                        path of titles from the root\n"
    "      --scope S         title, body or both (the default)\n"
    "      --match-case      letter case must match\n"
    "      --whole-word      only whole-word occurrences count\n"
    "  ftp [server options] COMMAND\n"
    "                        exchange database files with a folder of an FTP server:\n"
    "                        list, upload, download, delete, rename, clean\n"
    "                        (sealbook ftp --help tells its commands and options)\n"
    "  merge BASE OURS THEIRS\n"
    "                        merge two copies of one database edited apart, against\n"
    "                        the copy both started from; prints what it did\n"
    "      -o, --output OUT  write the result to OUT (default: OURS)\n"
    "      --two-way         merge OURS THEIRS without a common base\n"
    "\n"
    "Options:\n"
    "  --password-file F     the password is the first line of F\n"
    "  --new-password-file F the new password (passwd) is the first line of F\n"
    "  -h, --help            this text\n"
    "      --version         the program's version\n"
    "\n"
    "Without --password-file the password is taken from SEALBOOK_PASSWORD, else\n"
    "asked for when standard input is a terminal; with none of these the database\n"
    "has no password. passwd takes the new password from --new-password-file,\n"
    "SEALBOOK_NEW_PASSWORD or a prompt asked twice.\n"
    "\n"
    "Exit status: 0 success, 2 wrong password of a database, 1 any other failure\n"
    "(find: 1 when nothing matched; ftp: see sealbook ftp --help; merge: 0 no\n"
    "conflict, 1 conflicts, the result still written, 2 any failure). merge takes\n"
    "--password-file once for all files or once per file, in the order of the\n"
    "files, and asks again on a terminal for a file the password does not open.\n";

inline constexpr const char* ftpUsage =
    "Usage: sealbook ftp [server options] COMMAND\n"
    "\n"
    "Exchanges database files with one folder of an FTP server, by the rules of\n"
    "the FTP Manager window.\n"
    "\n"
    "Commands:\n"
    "  list                  name, size in bytes and time (UTC) of every .nte file,\n"
    "                        separated by tabs; an empty folder prints nothing\n"
    "  upload FILE           send the database FILE under its own name; the\n"
    "                        server's copy stays as NAME_old.nte\n"
    "  download NAME [LOCAL] fetch NAME into LOCAL, by default into the current\n"
    "                        folder; the local copy stays as NAME_old.nte\n"
    "  delete NAME           delete NAME on the server\n"
    "  rename NAME NEW       rename NAME to NEW (.nte added, spaces become _);\n"
    "                        refused when a file named NEW is there\n"
    "  clean                 remove the temporary files that cut uploads left,\n"
    "                        when older than ten minutes; prints each name\n"
    "NAME and NEW are file names of the folder: \"/\", \"\\\" and a leading \".\"\n"
    "are refused.\n"
    "\n"
    "Server options:\n"
    "  --host H              server host name or address (required)\n"
    "  --port P              server port (default 21)\n"
    "  --user U              login name\n"
    "  --password-file F     the FTP password is the first line of F\n"
    "  --directory D         server folder holding the database files\n"
    "  --active              active mode (default passive)\n"
    "  --anonymous           log in as anonymous (no password is sent)\n"
    "  --tls                 explicit TLS on control and data connections\n"
    "  --ca-file F           trust the certificate authorities in F too\n"
    "\n"
    "The FTP password is the first line of --password-file F, else\n"
    "SEALBOOK_FTP_PASSWORD, else asked for when standard input is a terminal.\n"
    "\n"
    "Exit status: 0 success, 1 any failure (a wrong FTP password too: \"Access\n"
    "denied\"), 130 or 143 when SIGINT or SIGTERM stopped the command (a cut\n"
    "transfer leaves no temporary file on either side).\n";

inline constexpr const char* versionLine = "sealbook (Marrowick Sealbook) %1";

inline constexpr const char* passwordEnv = "SEALBOOK_PASSWORD";
inline constexpr const char* newPasswordEnv = "SEALBOOK_NEW_PASSWORD";
inline constexpr const char* ftpPasswordEnv = "SEALBOOK_FTP_PASSWORD";

inline constexpr const char* promptPassword = "Password: ";
inline constexpr const char* promptRepeatPassword = "Repeat password: ";
inline constexpr const char* promptNewPassword = "New password: ";
inline constexpr const char* promptFtpPassword = "FTP password: ";
inline constexpr const char* promptRepeatNewPassword = "Repeat new password: ";
inline constexpr const char* passwordMismatch = "The password confirmation does not match.";
inline constexpr const char* noNewPassword =
    "No new password given: use --new-password-file, SEALBOOK_NEW_PASSWORD or a terminal.";
inline constexpr const char* passwordNotUtf8 = "The password is not valid UTF-8.";
inline constexpr const char* wrongPassword = "%1: wrong password.";
inline constexpr const char* promptPasswordOf = "Password of %1: ";
inline constexpr const char* passwordFilesPerFile =
    "Give --password-file once, or once for each of the %1 files.";

// Argument errors.
inline constexpr const char* unknownCommand = "Unknown command '%1' (see sealbook --help).";
inline constexpr const char* unknownOption = "Unknown option '%1' (see sealbook --help).";
inline constexpr const char* missingOptionValue = "Option '%1' needs a value.";
inline constexpr const char* optionNotForCommand = "Option '%1' does not apply to '%2'.";
inline constexpr const char* wrongArgumentCount = "'%1' expects %2 (see sealbook --help).";
inline constexpr const char* strongAndCompatible = "Give either --strong or --compatible, not both.";
inline constexpr const char* bodyAndRtf = "Give either --body or --rtf, not both.";
inline constexpr const char* unknownFtpCommand = "Unknown ftp command '%1' (see sealbook --help).";
inline constexpr const char* noFtpCommand =
    "'ftp' expects a command: list, upload, download, delete, rename or clean.";
inline constexpr const char* badPort = "'%1' is not a port number.";
inline constexpr const char* noHost = "'ftp' needs --host.";
inline constexpr const char* badNodeId = "'%1' is not a node id.";
inline constexpr const char* noSuchNode = "The database has no node with id %1.";
inline constexpr const char* cannotRead = "%1 could not be read.";
inline constexpr const char* cannotWrite = "%1 could not be written.";
inline constexpr const char* cannotCreateDir = "The folder %1 could not be created.";

// show.
inline constexpr const char* titleLabel = "Title:";
inline constexpr const char* accountTypeLabel = "Account Type:";
inline constexpr const char* attachmentLabel = "Attachment:";
inline constexpr const char* bytesUnit = "bytes";

// find.
inline constexpr const char* badScope = "--scope must be title, body or both, not '%1'.";
inline constexpr const char* emptySearchText = "The search text is empty.";
inline constexpr const char* searchTextNotUtf8 = "The search text is not valid UTF-8.";
inline constexpr const char* pathSeparator = " / ";

// ls: nodes that no path from the root reaches.
inline constexpr const char* unreachableHeading = "Not reachable from the root:";

// verify.
inline constexpr const char* countNodes = "nodes";
inline constexpr const char* countFolders = "folders";
inline constexpr const char* countNotes = "notes";
inline constexpr const char* countTemplates = "templates";
inline constexpr const char* countAttachments = "attachments";
inline constexpr const char* countAttachmentBytes = "attachment bytes";
// ls and verify: the file's kind.
inline constexpr const char* protectionLabel = "protection";
inline constexpr const char* protectionStrong = "strong";
inline constexpr const char* protectionCompatible = "compatible";

// JSON reading (%1 says where: "nodes[3].title" and the like).
inline constexpr const char* jsonSyntax = "%1 is not valid JSON: %2";
inline constexpr const char* jsonMissing = "%1 is missing.";
inline constexpr const char* jsonWrongType = "%1 must be %2.";
inline constexpr const char* jsonOutOfRange = "%1 is out of range.";
inline constexpr const char* jsonBadBase64 = "%1 is not valid base64.";
inline constexpr const char* jsonBadUtf16 = "%1 holds a value that is not a UTF-16 code unit.";
inline constexpr const char* jsonBothAttachmentForms = "%1 has both attachmentData and attachmentFile.";
inline constexpr const char* jsonSizeMismatch = "%1: attachmentSize is %2 but the attachment holds %3 bytes.";
inline constexpr const char* jsonNoAttachmentDir =
    "%1 names an attachment file but no --attachments folder was given.";
inline constexpr const char* jsonBadAttachmentFile = "%1 is not a plain file name.";
inline constexpr const char* jsonBadVersion = "formatVersion %1 is not a known stream version.";

// Structure of the tree (import and verify).
inline constexpr const char* duplicateNodeId = "Node id %1 appears twice.";
inline constexpr const char* idNotBelowNext = "Node id %1 is not below nextNodeId %2.";
inline constexpr const char* negativeNodeId = "Node id %1 is negative.";
inline constexpr const char* noRoot = "The database has no root node (parentId -1).";
inline constexpr const char* twoRoots = "Nodes %1 and %2 are both roots (parentId -1).";
inline constexpr const char* rootNotFolder = "The root node %1 is not a folder.";
inline constexpr const char* missingParent = "Node %1 has parent %2, which does not exist.";
inline constexpr const char* parentNotFolder = "Node %1 has parent %2, which is not a folder.";
inline constexpr const char* unreachableNode =
    "Node %1 is not reachable from the root (its parents form a loop).";
inline constexpr const char* attachmentSizeWrong = "Node %1: attachmentSize is %2 but it holds %3 bytes.";

inline constexpr const char* outOfMemory = "Not enough memory.";

} // namespace CliTexts
