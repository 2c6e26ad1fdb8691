#!/bin/sh
# Checks that the folders of src/ depend on each other only as ARCHITECTURE.md allows: every
# `#include "folder/..."` of a file must name a folder its own folder may use, and only common/ (and the
# editor, through Qt) may touch the file system or the environment directly.
set -eu
cd "$(dirname "$0")/../src"

# folder: the folders its files may include from (itself always).
allowed() {
  case "$1" in
    common) echo "" ;;
    config) echo "common" ;;
    template_objects) echo "" ;;
    model) echo "common config template_objects" ;;
    frontend/preprocessor) echo "common" ;;
    frontend/recognizer) echo "common frontend/preprocessor" ;;
    frontend/builder) echo "common frontend/preprocessor frontend/recognizer model" ;;
    stylesheet) echo "common config template_objects" ;;
    document) echo "common config model template_objects" ;;
    import) echo "common config" ;;
    app) echo "common config template_objects model frontend/preprocessor frontend/recognizer frontend/builder stylesheet document import" ;;
    editor) echo "common config import app" ;;
    main) echo "app editor" ;;
    *) echo "?" ;;
  esac
}

status=0
for file in $(find . -name '*.h' -o -name '*.cc' | sed 's|^\./||' | sort); do
  folder=$(dirname "$file")
  permitted=$(allowed "$folder")
  if [ "$permitted" = "?" ]; then
    echo "$file: folder $folder has no rule in tests/layering_check.sh"
    status=1
    continue
  fi
  for included in $(sed -n 's|^#include "\(.*\)/[^/]*"$|\1|p' "$file" | sort -u); do
    [ "$included" = "$folder" ] && continue
    case " $permitted " in
      *" $included "*) ;;
      *) echo "$file: includes from $included/, which $folder/ may not use"; status=1 ;;
    esac
  done
  case "$folder" in
    common | editor) ;;
    *)
      if grep -n 'std::filesystem\|<fstream>\|getenv' "$file" | grep -v '^[0-9]*: *//'; then
        echo "$file: touches the file system or the environment outside common/"
        status=1
      fi
      ;;
  esac
done
exit $status
