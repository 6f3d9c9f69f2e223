# Sourced by the developer scripts: a private game folder for one run of kelvane-sim, with
# links to a build's generated data (the runner writes its own Data/Ships.dxg there).
#   game_dir BUILD_DIR DIR [classic]   makes DIR and prints it with a trailing '/'
# With "classic", Data/Ships holds the classic ship types (a build's ClassicShips/; a build
# from before the balanced types has only those, in Data/Ships).
game_dir() {
  local build=$1 dir=$2 ships=$1/Data/Ships
  if [ "${3:-}" = classic ] && [ -d "$build/ClassicShips" ]; then ships=$build/ClassicShips; fi
  mkdir -p "$dir/Data"
  for name in GFX.dxg SFX.dxg Loading.dxg; do ln -s "$build/Data/$name" "$dir/Data/$name"; done
  ln -s "$ships" "$dir/Data/Ships"
  ln -s "$build/Scripts" "$dir/Scripts"
  echo "$dir/"
}
