#!/usr/bin/env bash
# cmake --install into a temporary prefix: the standard layout, a valid desktop entry, AppStream metainfo, file type
# and manual page, and an installed program that finds its examples in share/tavlix/examples and runs them.
# Usage: bash install.sh path/to/tavlix SOURCE_DIR
set -u
tavlix=$(realpath "$1")
build=$(dirname "$tavlix")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
for tool in desktop-file-validate appstreamcli update-mime-database man; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (tools/setup.sh installs it)"; exit 1; }
done

prefix=$work/usr
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || { cat "$work/install.log"; exit 1; }

for file in bin/tavlix share/tavlix/examples/2sin.tvx share/tavlix/examples/simpel.tvx \
  share/applications/org.tavlix.Tavlix.desktop share/metainfo/org.tavlix.Tavlix.metainfo.xml \
  share/mime/packages/org.tavlix.Tavlix.xml share/icons/hicolor/scalable/apps/org.tavlix.Tavlix.svg \
  share/man/man1/tavlix.1; do
  [ -s "$prefix/$file" ] || fail "$file was not installed"
done
[ -z "$(find "$prefix/bin" -name '*.tvx')" ] || fail "documents were installed into bin/"

desktop=$prefix/share/applications/org.tavlix.Tavlix.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate found faults"
for line in 'Exec=tavlix %F' 'MimeType=application/x-tavlix;' 'Categories=Education;Math;' 'Name=Tavlix' \
  'Comment[da]=' 'GenericName[da]=' 'Icon=org.tavlix.Tavlix'; do
  grep -qF "$line" "$desktop" || fail "the desktop entry lacks $line"
done
appstreamcli validate --no-net "$prefix/share/metainfo/org.tavlix.Tavlix.metainfo.xml" >"$work/as.log" 2>&1 ||
  fail "appstreamcli: $(cat "$work/as.log")"

# The file type: *.tvx is application/x-tavlix, with a Danish comment.
update-mime-database "$prefix/share/mime" >/dev/null 2>&1 || fail "update-mime-database failed"
grep -q 'application/x-tavlix:\*\.tvx' "$prefix/share/mime/globs2" 2>/dev/null || fail "*.tvx is not in the mime globs"
grep -q 'xml:lang="da"' "$prefix/share/mime/packages/org.tavlix.Tavlix.xml" || fail "no Danish comment for the type"

# The manual page names every option and the exit statuses, and formats without warnings.
page=$(MANWIDTH=100 man -l "$prefix/share/man/man1/tavlix.1" 2>"$work/man.err")
[ ! -s "$work/man.err" ] || fail "man warns: $(cat "$work/man.err")"
for word in --help --version --batch --out --max-cells --max-points --calc -platform 'EXIT STATUS'; do
  grep -qF -- "$word" <<<"$page" || fail "the manual page does not name $word"
done
"$prefix/bin/tavlix" --version | grep -qx "tavlix $("$tavlix" --version | cut -d' ' -f2)" || fail "installed --version"

# The installed program runs the installed examples, away from the build tree.
cd "$work" || exit 1
"$prefix/bin/tavlix" --batch --out out "$prefix"/share/tavlix/examples/*.tvx >run.log 2>&1 || fail "batch: $(cat run.log)"
[ -s out/2sin.tvx-1.svg ] || fail "the installed examples made no graph: $(ls out)"

[ "$failures" -eq 0 ] && echo "install: all passed"
exit "$failures"
