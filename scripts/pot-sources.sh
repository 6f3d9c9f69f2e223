# The sources and markers of the translatable texts, shared by update-pot.sh and the test
# that the template is up to date (sourced, from the top of the source tree).
pot_keywords=(--keyword=Translatable --keyword=Translate --keyword=Format)
mapfile -t pot_sources < <(find src -name '*.cpp' -o -name '*.h' | LC_ALL=C sort)
