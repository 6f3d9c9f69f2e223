# Hardened programs, as Debian builds its packages: the stack protector, the glibc
# functions that check their buffers (_FORTIFY_SOURCE), and a read-only relocation table
# resolved at start (relro, bind-now). None of them changes what the game computes.
option(KELVANE_HARDENING "Build with the stack protector, _FORTIFY_SOURCE, relro and bind-now" ON)
if(KELVANE_HARDENING)
  add_compile_options(-fstack-protector-strong)
  # _FORTIFY_SOURCE needs optimisation (glibc warns without it), and the sanitizers check
  # those functions themselves; -U first, as some compilers define their own level.
  if(NOT KELVANE_SANITIZE AND NOT KELVANE_FUZZ)
    add_compile_options("$<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
  endif()
  add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()
