# Sourced by the developer scripts: a private game folder for one run of kelvane-sim, with
# links to a build's generated data (the runner writes its own Data/Ships.dxg there).
#   game_dir BUILD_DIR DIR   makes DIR and prints it with a trailing '/'
game_dir() {
  local build=$1 dir=$2
  mkdir -p "$dir/Data"
  for name in GFX.dxg SFX.dxg Loading.dxg; do ln -s "$build/Data/$name" "$dir/Data/$name"; done
  ln -s "$build/Data/Ships" "$dir/Data/Ships"
  ln -s "$build/Scripts" "$dir/Scripts"
  echo "$dir/"
}
