#pragma once

class Connection;
class PhoneDirectory;

// What the log-on means for the phone directory: once a log-on begins the
// table no longer stands for the panel's directory (no single writes of
// changed entries), and the model's last directory slot goes into the
// phone page's trace field (Edit3). Every owner of a connection and a
// directory joins them with this.
void followConnection(PhoneDirectory &directory, Connection &connection);
