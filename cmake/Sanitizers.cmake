# AddressSanitizer + UndefinedBehaviorSanitizer for the whole build, so the
# tests also prove there is no use-after-free in windows that unload themselves.
if(MORVELL_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# ThreadSanitizer, for the work that runs on worker threads (thumbnails,
# batch runs, the resize's own split). It cannot be combined with the above.
if(MORVELL_SANITIZE_THREAD)
    if(MORVELL_SANITIZE)
        message(FATAL_ERROR "MORVELL_SANITIZE and MORVELL_SANITIZE_THREAD exclude each other")
    endif()
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
endif()
