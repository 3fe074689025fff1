#!/bin/sh
# Lower layers never include higher ones. Each folder may include itself and
# the folders listed after it; anything else is printed and fails the check.
cd "$(dirname "$0")/.." || exit 2
status=0
check() {
    folder=$1; shift
    allowed="$folder $*"
    for f in "$folder"/*.h "$folder"/*.cpp; do
        [ -e "$f" ] || continue
        for used in $(sed -n 's|^#include "\([a-z]*\)/.*|\1|p' "$f" | sort -u); do
            case " $allowed " in
                *" $used "*) ;;
                *) echo "$f includes $used/, a layer above it"; status=1 ;;
            esac
        done
    done
}
check base
check index base
check djvu index base
check ocr base
check search djvu index base
check library search djvu index base
check pageview djvu index base
check config library search djvu index base
check app config pageview library search djvu index base
check cli library search ocr djvu index base
exit $status
