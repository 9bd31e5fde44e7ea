# Input filter of the API reference: the public headers write their contract in plain //
# comments, which doxygen reads only as /// (before a declaration) and ///< (after one). The
# first comment block of a file describes the file. Lines keep their numbers, so doxygen's
# messages point at the header's own lines.
BEGIN { inFileBlock = 0; fileBlockDone = 0 }
!fileBlockDone && /^#(ifndef|define) / { print; next }
!fileBlockDone && /^\/\// {
    line = $0
    sub(/^\/\/ ?/, "", line)
    print "/// " line (inFileBlock ? "" : " @file")
    inFileBlock = 1
    next
}
!fileBlockDone && /^$/ && !inFileBlock { print; next }
{ fileBlockDone = 1 }
/^[ \t]*\/\// && !/^[ \t]*\/\/\// { sub(/\/\//, "///"); print; next }
/[;{,][ \t]+\/\/ / { sub(/[ \t]+\/\/ /, "  ///< "); print; next }
{ print }
