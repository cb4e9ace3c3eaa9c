#!/usr/bin/env bash
# Installs a built tree into a temporary prefix and checks it as a desktop would meet it:
# every file in place, the desktop entry, the AppStream description and the study-file type
# valid, the manual page clean, both programs running from there, the program finding the
# installed help, and the Debian package depending on the libraries the programs link.
#   scripts/check-install.sh [build-dir]      (build by default)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
id=org.ldclab.Ldc
work=$(mktemp -d)
trap 'kill "${program:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
prefix=$work/prefix

fail() {
    echo "check-install: $*" >&2
    exit 1
}

cmake --install "$build" --prefix "$prefix" >/dev/null

for file in bin/ldc bin/ldc-calc share/ldc/AYUDA9C/AYUDA9C.html \
    share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
    share/mime/packages/$id.xml share/icons/hicolor/scalable/apps/$id.svg \
    share/man/man1/ldc-calc.1 share/doc/ldc/LICENSE; do
    [ -e "$prefix/$file" ] || fail "no se instaló $file"
done
diff -r app/help/AYUDA9C "$prefix/share/ldc/AYUDA9C" >/dev/null ||
    fail "la ayuda instalada no es la de app/help/AYUDA9C"

# Hints count too: a desktop entry without a main category lands in a catch-all menu.
hints=$(desktop-file-validate "$prefix/share/applications/$id.desktop" 2>&1) && [ -z "$hints" ] ||
    fail "desktop-file-validate: $hints"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null
# The description, its desktop entry and the icon agree with each other.
appstreamcli validate-tree --no-net "$prefix" >/dev/null

# The installed type makes *.w9c files studies, and the desktop entry opens that type.
update-mime-database "$prefix/share/mime" >/dev/null 2>&1
grep -q '^50:application/x-ldc-study:\*\.w9c$' "$prefix/share/mime/globs2" ||
    fail "*.w9c no es application/x-ldc-study"
grep -q '^MimeType=application/x-ldc-study;$' "$prefix/share/applications/$id.desktop" ||
    fail "la entrada de escritorio no abre application/x-ldc-study"

warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
    man --warnings -E UTF-8 -l -Tutf8 -Z "$prefix/share/man/man1/ldc-calc.1" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "ldc-calc.1: $warnings"

grep -q '^Uso: ldc-calc' <<<"$("$prefix/bin/ldc-calc" --help)" || fail "ldc-calc --help no dice su uso"
grep -q '^LÍMITE DE DETECCIÓN' <<<"$("$prefix/bin/ldc-calc" --separador-decimal=. examples/ejemplo.w9c)" ||
    fail "ldc-calc no calcula el ejemplo"

# Started from the prefix, the program must take the help installed beside it (not the copy
# compiled in) and still be running once it has said so.
QT_LOGGING_RULES='ldc.help.info=true' QT_QPA_PLATFORM=offscreen "$prefix/bin/ldc" \
    >"$work/ldc.log" 2>&1 &
program=$!
for _ in $(seq 100); do
    grep -q 'archivo de ayuda:' "$work/ldc.log" && break
    sleep 0.2
done
sleep 1
kill -0 "$program" 2>/dev/null || fail "ldc terminó en lugar de seguir abierto: $(cat "$work/ldc.log")"
kill "$program"
wait "$program" || true
grep -qF "archivo de ayuda: $prefix/share/ldc/AYUDA9C/AYUDA9C.html" "$work/ldc.log" ||
    fail "ldc no usa la ayuda instalada: $(cat "$work/ldc.log")"

# The package's dependencies come from the linked libraries, Qt's SVG among them.
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/deb" >"$work/cpack.log" 2>&1 ||
    fail "cpack: $(cat "$work/cpack.log")"
deb=$(ls "$work"/deb/ldc_*.deb)
depends=$(dpkg-deb --field "$deb" Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6widgets6 libqt6printsupport6 libqt6svg6; do
    grep -q "\b$library\b" <<<"$depends" || fail "el paquete no depende de $library: $depends"
done
grep -q '\./usr/bin/ldc$' <<<"$(dpkg-deb --contents "$deb")" || fail "el paquete no lleva /usr/bin/ldc"

echo "Instalación comprobada: $id"
