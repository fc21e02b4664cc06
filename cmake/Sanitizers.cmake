# AddressSanitizer + UndefinedBehaviorSanitizer for the whole build, so the
# tests also prove there is no use-after-free in windows that unload themselves.
if(MORVELL_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
