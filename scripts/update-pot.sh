#!/usr/bin/env bash
# Writes po/kelvane.pot, the template of the game's translatable texts, from the sources
# (xgettext), and brings every po/LANG.po up to date with it (msgmerge): new texts come in
# untranslated, texts the game no longer has are kept as obsolete (#~) for the translator.
# The texts are found by their markers: Translatable("..."), texts.Translate("..."),
# texts.Format("...", {...}). The game's own texts are Windows-1250 in the code.
#
# usage: scripts/update-pot.sh          (from anywhere in the source tree)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/pot-sources.sh
xgettext --from-code=CP1250 --language=C++ "${pot_keywords[@]}" --add-comments=TRANSLATORS: \
  --package-name=kelvane --msgid-bugs-address=maintainers@kelvane.invalid --sort-by-file --no-wrap \
  --output=po/kelvane.pot "${pot_sources[@]}"
for po in po/*.po; do
  msgmerge --quiet --update --backup=none --no-wrap "$po" po/kelvane.pot
done
