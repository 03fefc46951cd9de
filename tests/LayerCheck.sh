#!/bin/sh
# The layers include only downward (README, Layout): every include of one of our folders is
# checked against the folders that folder may use. Besides: the document's undo steps are its
# own, the command line uses the painters of display/ and none of its widgets, and session/ and
# document/ use nothing of Qt Widgets.
# Usage: LayerCheck.sh SOURCE_DIR
set -u
cd "$1" || exit 1

may_use() {
    case $1 in
        app) echo "display dialogs controls session document report instrument model" ;;
        display) echo "dialogs controls session document model" ;;
        dialogs) echo "controls session model" ;;
        controls) echo "model" ;;
        session) echo "document model" ;;
        document) echo "model" ;;
        report | instrument) echo "model" ;;
        cli) echo "display document report instrument model" ;;
        model) echo "" ;;
    esac
}

failed=0
for layer in app display dialogs controls session document report instrument model cli; do
    allowed=" $layer $(may_use "$layer") "
    for file in $(find "$layer" -name '*.cpp' -o -name '*.h'); do
        for used in $(sed -n 's/^#include "\([a-z]*\)\/.*/\1/p' "$file" | sort -u); do
            case $allowed in
                *" $used "*) ;;
                *) echo "$file includes $used/, which $layer/ may not use"; failed=1 ;;
            esac
        done
    done
done

grep -rn '#include "document/steps/' --include='*.cpp' --include='*.h' . | grep -v '^\./document/' |
    grep -v '^\./build' | sed 's/^/steps are the document'"'"'s own: /' | grep . && failed=1

grep -rn '#include "display/' cli | grep -vE 'display/(PanelPicture|ChartGeometry|ChartPainter|PngFile)\.h' |
    sed 's/^/cli uses a widget of display\/: /' | grep . && failed=1

grep -rnE '#include <(QtWidgets/|QWidget|QDialog|QMessageBox|QFileDialog|QApplication>)' session document |
    sed 's/^/no widgets below the dialogs: /' | grep . && failed=1

exit $failed
