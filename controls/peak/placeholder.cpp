// Empty until this library is built.
